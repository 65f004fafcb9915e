#include "platform/Ui.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <cstdio>

namespace tempolatch::platform {

namespace {

// Without windows (command line), messages go to standard error and
// questions take their default answer.
class ConsoleUi : public Ui {
public:
    Answer ask(const QString& text, MessageIcon, Buttons buttons, Answer defaultAnswer,
               QObject*) override {
        std::fprintf(stderr, "Tempolatch: %s\n", qPrintable(text));
        return buttons == Buttons::Ok ? Answer::Ok : defaultAnswer;
    }
    QString saveFile(const QString&, const QString&, const QString&, QObject*) override {
        return {};
    }
    QString openFile(const QString&, const QString&, const QString&, QObject*) override {
        return {};
    }
};

Ui* g_installed = nullptr;

}  // namespace

Ui::~Ui() = default;

Ui& Ui::instance() {
    static ConsoleUi console;
    return g_installed ? *g_installed : console;
}

void Ui::install(Ui* ui) {
    g_installed = ui;
}

void Ui::message(const QString& text, MessageIcon icon, QObject* parent) {
    ask(text, icon, Buttons::Ok, Answer::Ok, parent);
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

QStringList ScriptedUi::shownTexts() const {
    QStringList texts;
    for (const Shown& s : m_shown)
        texts.append(s.text);
    return texts;
}

void ScriptedUi::clear() {
    m_chosenFilters.clear();
    m_answers.clear();
    m_files.clear();
    m_shown.clear();
    m_filters.clear();
}

Answer ScriptedUi::ask(const QString& text, MessageIcon icon, Buttons buttons, Answer defaultAnswer,
                       QObject*) {
    m_shown.append({text, icon, buttons, defaultAnswer});
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
    return buttons == Buttons::Ok ? Answer::Ok : defaultAnswer;
}

QString ScriptedUi::saveFile(const QString&, const QString& filter, const QString&, QObject*) {
    m_filters.append(filter);
    return m_files.isEmpty() ? QString() : m_files.takeFirst();
}

QString ScriptedUi::openFile(const QString&, const QString& filter, const QString&, QObject*) {
    m_filters.append(filter);
    return m_files.isEmpty() ? QString() : m_files.takeFirst();
}

Ui::ChosenFile ScriptedUi::saveFileWithFilter(const QString& title, const QString& filter,
                                              const QString& suggestedPath, QObject* parent) {
    return withQueuedFilter(Ui::saveFileWithFilter(title, filter, suggestedPath, parent));
}

Ui::ChosenFile ScriptedUi::openFileWithFilter(const QString& title, const QString& filter,
                                              const QString& startFolder, QObject* parent) {
    return withQueuedFilter(Ui::openFileWithFilter(title, filter, startFolder, parent));
}

Ui::ChosenFile ScriptedUi::withQueuedFilter(ChosenFile chosen) {
    if (!m_chosenFilters.isEmpty()) {
        const int queued = m_chosenFilters.takeFirst();
        if (!chosen.path.isEmpty())
            chosen.filter = queued;
    }
    return chosen;
}

}  // namespace tempolatch::platform
