#pragma once

#include <QtGlobal>
#include <array>
#include <optional>

namespace tempolatch {

// Bits of the tree list options (TreeOptions).
enum TreeOption : quint32 {
    TreeShowClient = 0x1,
    TreeShowProject = 0x2,
    TreeShowPhase = 0x4,
    TreeShowTimes = 0x8,
    TreeShowAmount = 0x10,
};

// The Customize Default View record (ViewCust): how the Default list shows
// entry times, which parts it shows, and a text colour per status.
class ViewCustomization {
public:
    enum EntryTimeMode { DurationStart = 0, DurationStartEnd = 1, StartEnd = 2 };
    enum Word { ModeWord = 0, DisplayWord = 1, ColourWords = 2 };
    enum DisplayFlag : quint32 { ShowClientName = 0x1, ShowStatusIcon = 0x2 };

    // Palette index 0 is the system's window-text colour.
    static constexpr int PaletteSize = 36;

    explicit ViewCustomization(const std::array<quint32, 6>& words) : m_words(words) {}

    // An unknown stored mode shows as the first one.
    EntryTimeMode entryTimeMode() const;
    bool showClientName() const { return m_words[DisplayWord] & ShowClientName; }
    bool showStatusIcon() const { return m_words[DisplayWord] & ShowStatusIcon; }
    // Palette index of the text colour of a status (0 Non Billable .. 3 Paid).
    int colourIndex(int status) const;

    // 0xRRGGBB of a palette index; none for 0 and for unknown indices,
    // which show in the window-text colour.
    static std::optional<quint32> paletteRgb(int index);

private:
    std::array<quint32, 6> m_words;
};

}  // namespace tempolatch
