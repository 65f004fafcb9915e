#include "views/SearchBox.h"

#include <QKeyEvent>

namespace tempolatch {

SearchBox::SearchBox(QWidget* parent) : QLineEdit(parent) {
    setObjectName(QStringLiteral("searchBox"));
    setPlaceholderText(QStringLiteral("Search (Ctrl+F)"));
    setClearButtonEnabled(true);
    setToolTip(
        QStringLiteral("Shows only what holds every word, in any of its texts or its note. "
                       "\"Quoted words\" are searched as one."));
    m_delay.setSingleShot(true);
    m_delay.setInterval(DelayMs);
    connect(&m_delay, &QTimer::timeout, this, &SearchBox::settle);
    connect(this, &QLineEdit::textChanged, this, [this] { m_delay.start(); });
}

void SearchBox::focusForTyping() {
    setFocus(Qt::ShortcutFocusReason);
    selectAll();
}

void SearchBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && !text().isEmpty()) {
        clear();
        settle();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void SearchBox::settle() {
    m_delay.stop();
    const QString words = text().trimmed();
    if (words == m_said)
        return;
    m_said = words;
    Q_EMIT searchChanged(words);
}

}  // namespace tempolatch
