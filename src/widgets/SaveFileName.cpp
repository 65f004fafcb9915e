#include "widgets/SaveFileName.h"

#include <QFileInfo>
#include <QStringList>

#include "platform/OutputFile.h"

namespace tempolatch {

QString extensionOfFilter(const QString& filter, int filterIndex) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    const qsizetype at = qsizetype(filterIndex - 1) * 2 + 1;
    if (filterIndex < 1 || at >= parts.size())
        return {};
    const QString pattern = parts[at].section(QLatin1Char(';'), 0, 0).trimmed();
    return pattern.startsWith(QStringLiteral("*.")) ? pattern.mid(2) : QString();
}

QString withFilterExtension(const QString& path, const QString& filter, int filterIndex) {
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    const QString extension = extensionOfFilter(filter, filterIndex > 0 ? filterIndex : 1);
    return extension.isEmpty() ? path : path + QLatin1Char('.') + extension;
}

platform::Ui::ChosenFile chooseOutputFile(platform::Ui& ui, const QString& filter, QObject* parent,
                                          const QString& suggestedPath) {
    for (;;) {
        platform::Ui::ChosenFile chosen =
            ui.saveFileWithFilter(QString(), filter, suggestedPath, parent);
        if (chosen.path.isEmpty())
            return chosen;
        chosen.path = withFilterExtension(chosen.path, filter, chosen.filter);
        const QString refused = platform::OutputFile::refusal(chosen.path);
        if (refused.isEmpty())
            return chosen;
        ui.message(refused, platform::MessageIcon::Stop, parent);
    }
}

}  // namespace tempolatch
