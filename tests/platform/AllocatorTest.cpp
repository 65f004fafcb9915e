#include <QTest>
#include <cstdlib>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "common/TestRegistry.h"
#include "platform/Allocator.h"

using namespace tempolatch;

class AllocatorTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Small blocks freed go back to the allocator's ordinary bins at once:
    // none waits in a fast bin for a merge of them all later.
    void smallBlocksFreedWaitInNoFastBin() {
#if defined(__GLIBC__)
        platform::tuneAllocator();
        std::vector<void*> blocks;
        for (int i = 0; i < 4000; ++i)
            blocks.push_back(std::malloc(16 + i % 6 * 16));
        for (void* block : blocks)
            std::free(block);
        QCOMPARE(mallinfo2().fsmblks, size_t(0));
#else
        QSKIP("only glibc has fast bins");
#endif
    }
};

TEMPOLATCH_TEST(AllocatorTest);
#include "AllocatorTest.moc"
