#include "platform/Ui.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>
#include <cstdio>

namespace tempolatch::platform {

Answer ConsoleUi::ask(const QString& text, MessageIcon, Buttons buttons, Answer defaultAnswer,
                      QObject*) {
    std::fprintf(stderr, "Tempolatch: %s\n", qPrintable(text));
    return buttons == Buttons::Ok ? Answer::Ok : defaultAnswer;
}

QString ConsoleUi::saveFile(const QString&, const QString&, const QString&, QObject*) {
    return {};
}

QString ConsoleUi::openFile(const QString&, const QString&, const QString&, QObject*) {
    return {};
}

Ui::~Ui() = default;

void Ui::message(const QString& text, MessageIcon icon, QObject* parent) {
    ask(text, icon, Buttons::Ok, Answer::Ok, parent);
}

int Ui::choose(const QString& text, const QStringList&, int defaultChoice, QObject*) {
    std::fprintf(stderr, "Tempolatch: %s\n", qPrintable(text));
    return defaultChoice;
}

void Ui::notice(const QString& text) {
    if (m_noticeShown)
        m_noticeShown(text);
}

bool Ui::openDocument(const QUrl&) {
    return false;
}

QString Ui::chooseFolder(const QString&, const QString&, QObject*) {
    return {};
}

void Ui::noticeDone(const QString& done, const QString& path, const QString& counts) {
    QString text = done + QLatin1Char(' ') + QDir::toNativeSeparators(path);
    if (!counts.isEmpty())
        text += QStringLiteral(" (%1)").arg(counts);
    notice(text + QLatin1Char('.'));
}

QString recordCounts(int entries, int expenses) {
    QStringList parts;
    if (entries >= 0)
        parts.append(entries == 1 ? QStringLiteral("1 time entry")
                                  : QStringLiteral("%1 time entries").arg(entries));
    if (expenses >= 0)
        parts.append(expenses == 1 ? QStringLiteral("1 expense")
                                   : QStringLiteral("%1 expenses").arg(expenses));
    return parts.join(QStringLiteral(", "));
}

bool Ui::question(const QString& text, QObject* parent) {
    return ask(text, MessageIcon::Question, Buttons::YesNo, Answer::No, parent) == Answer::Yes;
}

Ui::ChosenFile Ui::saveFileWithFilter(const QString& title, const QString& filter,
                                      const QString& suggestedPath, QObject* parent) {
    const QString path = saveFile(title, filter, suggestedPath, parent);
    return {path, path.isEmpty() ? 0 : filterMatching(filter, path)};
}

Ui::ChosenFile Ui::openFileWithFilter(const QString& title, const QString& filter,
                                      const QString& startFolder, QObject* parent) {
    const QString path = openFile(title, filter, startFolder, parent);
    return {path, path.isEmpty() ? 0 : filterMatching(filter, path)};
}

int filterMatching(const QString& filter, const QString& path) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    const QString name = QFileInfo(path).fileName();
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QRegularExpression re(
                QRegularExpression::wildcardToRegularExpression(pattern.trimmed()),
                QRegularExpression::CaseInsensitiveOption);
            if (re.match(name).hasMatch())
                return int(i / 2) + 1;
        }
    }
    return 0;
}

QString toQtFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& label = parts[i];
        const QString& pattern = parts[i + 1];
        if (label.isEmpty())
            continue;
        QString patterns = pattern;
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        out.append(label.contains(QLatin1Char('('))
                       ? label
                       : QStringLiteral("%1 (%2)").arg(label, patterns));
    }
    return out.join(QStringLiteral(";;"));
}

}  // namespace tempolatch::platform
