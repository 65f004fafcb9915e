#pragma once

#include <QWidget>

class QTextBrowser;

namespace tempolatch {

// The program's help: one window on the help file, opened at a topic. F1 in
// a window or dialog opens it at that window's topic; there is only ever one
// help window, brought forward and moved to the new topic.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    static HelpWindow* showTopic(const QString& anchor);
    // The open help window, or nullptr.
    static HelpWindow* current();

    QString topic() const;
    QTextBrowser* browser() const { return m_browser; }

private:
    HelpWindow();
    void openTopic(const QString& anchor);

    QTextBrowser* m_browser;
};

// Loads the program's built-in resources (icons, help); safe to call often.
void initResources();

}  // namespace tempolatch
