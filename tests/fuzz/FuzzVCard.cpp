// Address-book files of the contact chooser.
#include "FuzzSupport.h"
#include "platform/contacts/VCardReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tempolatch::fuzz::application();
    (void)tempolatch::platform::VCardReader::readNames(tempolatch::fuzz::bytes(data, size));
    return 0;
}
