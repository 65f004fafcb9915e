#include "notes/WordProcessorEdit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <QUrl>

#include "notes/InkControl.h"
#include "notes/NoteFiles.h"
#include "platform/PlatformInfo.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"

namespace tempolatch {

bool WordProcessorEdit::run(platform::Ui& ui, InkControl& control) {
    // Word processors of this platform generation read and write RTF.
    const bool rtf = platform::PlatformMajorVersion >= 5;
    const NoteStreamFormat format = rtf ? NoteStreamFormat::RichText : NoteStreamFormat::NoteFile;

    // The temporary folder rather than the current one, which may well be
    // read-only; the name is reserved by creating the file.
    QTemporaryFile reserved(
        QDir::temp().filePath(QStringLiteral("trnXXXXXX.") + (rtf ? "rtf" : "psw")));
    if (!reserved.open())
        return false;
    const QString path = reserved.fileName();
    reserved.close();

    if (!NoteFiles::save(path, control.note(), format) ||
        !ui.openDocument(QUrl::fromLocalFile(path)))
        return false;

    const platform::Answer answer =
        ui.ask(resourceString(str::EditInWordPrompt), platform::MessageIcon::Information,
               platform::Ui::Buttons::OkCancel, platform::Answer::Ok, &control);
    if (answer == platform::Answer::Ok) {
        const std::optional<NoteData> edited = NoteFiles::load(path, format);
        if (!edited || !edited->isReadable()) {
            QFile::remove(path);
            return false;
        }
        if (rtf)
            control.replaceText(edited->content().text);
        else
            control.replaceNote(*edited);
    }
    QFile::remove(path);
    control.setModified(true);
    return true;
}

}  // namespace tempolatch
