#include "notes/NoteFiles.h"

#include <QFile>

#include "platform/OutputFile.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "widgets/SaveFileName.h"

namespace tempolatch {

bool NoteFiles::save(const QString& path, const NoteData& note, NoteStreamFormat format,
                     QString* error) {
    platform::OutputFile file(path);
    const QByteArray bytes = NoteStream::write(note, format);
    if (!file.open() || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

std::optional<NoteData> NoteFiles::load(const QString& path, NoteStreamFormat format,
                                        QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    if (file.size() > MaxFileSize) {
        if (error)
            *error = QStringLiteral("the file is too large for a note");
        return std::nullopt;
    }
    const QByteArray data = file.read(MaxFileSize + 1);
    if (data.size() > MaxFileSize || file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.error() != QFileDevice::NoError
                         ? file.errorString()
                         : QStringLiteral("the file is too large for a note");
        return std::nullopt;
    }
    return NoteStream::read(data, format, error);
}

NoteStreamFormat NoteFiles::importFormat(int filter) {
    switch (filter) {
        case 2:
            return NoteStreamFormat::RichText;
        case 3:
            return NoteStreamFormat::PlainText;
        case 4:
            return NoteStreamFormat::UnicodeText;
        default:
            return NoteStreamFormat::NoteFile;
    }
}

NoteStreamFormat NoteFiles::exportFormat(int filter) {
    switch (filter) {
        case 3:
            return NoteStreamFormat::RichText;
        case 4:
            return NoteStreamFormat::PlainText;
        case 5:
            return NoteStreamFormat::UnicodeText;
        default:
            return NoteStreamFormat::NoteFile;
    }
}

std::optional<NoteData> NoteFiles::importWithDialog(platform::Ui& ui, QObject* parent) {
    const QString filter = resourceString(str::NoteImportFilter);
    const platform::Ui::ChosenFile chosen =
        ui.openFileWithFilter(QString(), filter, QString(), parent);
    if (chosen.path.isEmpty())
        return std::nullopt;
    std::optional<NoteData> note = load(chosen.path, importFormat(chosen.filter));
    if (!note)
        ui.message(importFailedText(), platform::MessageIcon::Stop, parent);
    return note;
}

bool NoteFiles::exportWithDialog(platform::Ui& ui, const NoteData& note, int filterString,
                                 QObject* parent) {
    const QString filter = resourceString(filterString);
    const QString suggested =
        filterString == str::NoteExportFilter ? QStringLiteral("Note.psw") : QString();
    const platform::Ui::ChosenFile chosen = chooseOutputFile(ui, filter, parent, suggested);
    if (chosen.path.isEmpty())
        return false;
    const int index = chosen.filter > 0 ? chosen.filter : 1;
    if (!save(chosen.path, note, exportFormat(index))) {
        ui.message(resourceString(str::ExportNoteFailed), platform::MessageIcon::Stop, parent);
        return false;
    }
    return true;
}

QString NoteFiles::importFailedText() {
    return QStringLiteral("The file could not be read as a note.");
}

}  // namespace tempolatch
