#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

#include "platform/Ui.h"

namespace tempolatch::test {

using platform::Answer;
using platform::MessageIcon;

// The answers a test queued, and a record of what was shown.
class ScriptedUi : public platform::Ui {
public:
    struct Shown {
        QString text;
        MessageIcon icon;
        Buttons buttons;
        Answer defaultAnswer;
    };

    void queueAnswer(Answer answer) { m_answers.append(answer); }
    // The index the next choose() answers (-1: Cancel); none queued takes the default.
    void queueChoice(int choice) { m_choices.append(choice); }
    void queueFile(const QString& path) { m_files.append(path); }
    // The filter the next file is chosen under (otherwise the matching one).
    void queueFilter(int filter) { m_chosenFilters.append(filter); }

    const QList<Shown>& shown() const { return m_shown; }
    QStringList shownTexts() const;
    const QStringList& fileFilters() const { return m_filters; }
    // The notices given, in order (they are also shown as the real Ui shows them).
    const QStringList& notices() const { return m_notices; }
    void notice(const QString& text) override;
    void clear();

    // What "opens" a document handed to the desktop; without one nothing does.
    using DocumentOpener = std::function<bool(const QUrl&)>;
    void setDocumentOpener(DocumentOpener opener) { m_documentOpener = std::move(opener); }
    bool openDocument(const QUrl& url) override {
        return m_documentOpener && m_documentOpener(url);
    }
    // The next queued file is the folder chosen; none queued is a cancel.
    QString chooseFolder(const QString&, const QString&, QObject*) override {
        return m_files.isEmpty() ? QString() : m_files.takeFirst();
    }

    Answer ask(const QString& text, MessageIcon icon, Buttons buttons, Answer defaultAnswer,
               QObject* parent) override;
    // Shown as a question; the choices offered are kept in offeredChoices().
    int choose(const QString& text, const QStringList& choices, int defaultChoice,
               QObject* parent) override;
    const QStringList& offeredChoices() const { return m_offered; }
    QString saveFile(const QString& title, const QString& filter, const QString& suggestedPath,
                     QObject* parent) override;
    QString openFile(const QString& title, const QString& filter, const QString& startFolder,
                     QObject* parent) override;
    ChosenFile saveFileWithFilter(const QString& title, const QString& filter,
                                  const QString& suggestedPath, QObject* parent) override;
    ChosenFile openFileWithFilter(const QString& title, const QString& filter,
                                  const QString& startFolder, QObject* parent) override;

private:
    ChosenFile withQueuedFilter(ChosenFile chosen);

    QList<int> m_chosenFilters;
    QList<Answer> m_answers;
    QList<int> m_choices;
    QStringList m_offered;
    QStringList m_files;
    QList<Shown> m_shown;
    QStringList m_filters;
    QStringList m_notices;
    DocumentOpener m_documentOpener;
};

}  // namespace tempolatch::test
