#pragma once

#include "platform/Ui.h"

namespace tempolatch::platform {

// Message boxes and file dialogs as the desktop's own widgets. On a display
// nobody can see (the offscreen and minimal platforms) a box would wait
// forever for an answer: there the text goes to standard error and the
// default answer is taken, as on the command line.
class WidgetUi : public Ui {
public:
    Answer ask(const QString& text, MessageIcon icon, Buttons buttons, Answer defaultAnswer,
               QObject* parent) override;
    QString saveFile(const QString& title, const QString& filter, const QString& suggestedPath,
                     QObject* parent) override;
    QString openFile(const QString& title, const QString& filter, const QString& startFolder,
                     QObject* parent) override;
    // The desktop dialogs know which filter was picked; no guessing from the name.
    ChosenFile saveFileWithFilter(const QString& title, const QString& filter,
                                  const QString& suggestedPath, QObject* parent) override;
    ChosenFile openFileWithFilter(const QString& title, const QString& filter,
                                  const QString& startFolder, QObject* parent) override;
    int choose(const QString& text, const QStringList& choices, int defaultChoice,
               QObject* parent) override;
    bool openDocument(const QUrl& url) override;
    QString chooseFolder(const QString& title, const QString& startFolder,
                         QObject* parent) override;

    static bool displayIsVisible();
};

}  // namespace tempolatch::platform
