#pragma once

namespace tempolatch {

namespace platform {
class Ui;
}

class InkControl;

// Edit in Word Mobile: the note goes to a temporary file that the desktop's
// word processor opens; when the user confirms, the file comes back into
// the control. The temporary file is gone when the command ends.
class WordProcessorEdit {
public:
    // True when the note was marked changed (whether or not the user
    // confirmed); false when the file could not be written or opened, or
    // not be read back.
    static bool run(platform::Ui& ui, InkControl& control);
};

}  // namespace tempolatch
