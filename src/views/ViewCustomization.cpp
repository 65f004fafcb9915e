#include "views/ViewCustomization.h"

namespace tempolatch {

namespace {
constexpr quint32 kPalette[ViewCustomization::PaletteSize] = {
    0,        0x0000FF, 0x000080, 0x0080FF, 0x000040, 0xFF0000, 0x800000, 0xFF00FF, 0xFFAAFF,
    0x8080C0, 0x400040, 0x80FFFF, 0xFF8000, 0x804000, 0x00FF00, 0x008000, 0x408080, 0x808000,
    0xF0F000, 0xB9C6F0, 0x8080FF, 0xFF80C0, 0xFFCC66, 0x666699, 0xB4E2FF, 0x66CC33, 0xB2FFB2,
    0xCCCCFF, 0x8E33B4, 0x8E6081, 0xB4349E, 0xD48200, 0x7ECA7E, 0x646464, 0xFA4676, 0x004000,
};
}  // namespace

ViewCustomization::EntryTimeMode ViewCustomization::entryTimeMode() const {
    const quint32 mode = m_words[ModeWord];
    return mode <= StartEnd ? EntryTimeMode(mode) : DurationStart;
}

int ViewCustomization::colourIndex(int status) const {
    if (status < 0 || status > 3)
        return 0;
    const quint32 index = m_words[ColourWords + status];
    return index < PaletteSize ? int(index) : 0;
}

std::optional<quint32> ViewCustomization::paletteRgb(int index) {
    if (index <= 0 || index >= PaletteSize)
        return std::nullopt;
    return kPalette[index];
}

}  // namespace tempolatch
