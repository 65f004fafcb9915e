#include "platform/Allocator.h"

#include <cstdlib>  // names the C library (__GLIBC__)

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace tempolatch::platform {

void tuneAllocator() {
#if defined(__GLIBC__)
    mallopt(M_MXFAST, 0);
#endif
}

}  // namespace tempolatch::platform
