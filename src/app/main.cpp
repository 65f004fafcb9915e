#include <QCoreApplication>

#include "app/cli/CommandLine.h"
#include "platform/Allocator.h"

int main(int argc, char* argv[]) {
    tempolatch::platform::tuneAllocator();
    return tempolatch::runCommandLine(argc, argv);
}
