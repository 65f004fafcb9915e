// Rich text pasted or imported into a note.
#include "FuzzSupport.h"
#include "notes/RtfReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tempolatch::fuzz::application();
    QString error;
    (void)tempolatch::RtfReader::read(tempolatch::fuzz::bytes(data, size), &error);
    return 0;
}
