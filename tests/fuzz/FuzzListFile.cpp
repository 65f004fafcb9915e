// List files imported into the drop lists and the clients setup.
#include "FuzzSupport.h"
#include "transfer/ListFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tempolatch::fuzz::application();
    const auto lines = tempolatch::listFileLines(tempolatch::fuzz::bytes(data, size));
    if (lines) {
        for (const QString& line : *lines) {
            if (line.isEmpty() || line.size() > tempolatch::MaxListLineLength)
                __builtin_trap();
        }
    }
    return 0;
}
