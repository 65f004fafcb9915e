#pragma once

#include <QLineEdit>
#include <QTimer>

namespace tempolatch {

// The search box above a list: the words it holds narrow the period shown.
// It says so a moment after the typing stops, not at every key, so that a
// month of a large store is walked once a word rather than once a letter.
// Escape empties it.
class SearchBox : public QLineEdit {
    Q_OBJECT
public:
    static constexpr int DelayMs = 250;

    explicit SearchBox(QWidget* parent = nullptr);

    // Focuses the box with its words selected, ready to be typed over.
    void focusForTyping();

Q_SIGNALS:
    // The words changed and the typing has paused.
    void searchChanged(const QString& words);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void settle();

    QTimer m_delay;
    QString m_said;
};

}  // namespace tempolatch
