#include "common/ScriptedUi.h"

namespace tempolatch::test {

using platform::Ui;

QStringList ScriptedUi::shownTexts() const {
    QStringList texts;
    for (const Shown& s : m_shown)
        texts.append(s.text);
    return texts;
}

void ScriptedUi::clear() {
    m_chosenFilters.clear();
    m_answers.clear();
    m_choices.clear();
    m_offered.clear();
    m_files.clear();
    m_shown.clear();
    m_filters.clear();
    m_notices.clear();
}

void ScriptedUi::notice(const QString& text) {
    m_notices.append(text);
    Ui::notice(text);
}

Answer ScriptedUi::ask(const QString& text, MessageIcon icon, Buttons buttons, Answer defaultAnswer,
                       QObject*) {
    m_shown.append({text, icon, buttons, defaultAnswer});
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
    return buttons == Buttons::Ok ? Answer::Ok : defaultAnswer;
}

int ScriptedUi::choose(const QString& text, const QStringList& choices, int defaultChoice,
                       QObject*) {
    m_shown.append({text, MessageIcon::Question, Buttons::YesNoCancel, Answer::Yes});
    m_offered = choices;
    return m_choices.isEmpty() ? defaultChoice : m_choices.takeFirst();
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

}  // namespace tempolatch::test
