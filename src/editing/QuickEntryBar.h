#pragma once

#include <QWidget>
#include <functional>

#include "editing/QuickEntryParser.h"
#include "platform/FileTime.h"

class QCompleter;
class QLabel;
class QLineEdit;
class QStringListModel;

namespace tempolatch {

struct Context;

// The quick entry line above the list: one line of work, typed as
// "1.5h Acme/Website/Design fixing the header", completed from the client
// structure as it is typed, read back below it, and written as a new entry
// on Enter. What the line cannot read is said below it, and nothing is written.
class QuickEntryBar : public QWidget {
    Q_OBJECT
public:
    // `day` gives the day new entries go to (the day shown).
    QuickEntryBar(Context& context, std::function<platform::SystemTime()> day,
                  QWidget* parent = nullptr);

    QLineEdit* line() const { return m_line; }
    QCompleter* completer() const { return m_completer; }
    QLabel* message() const { return m_message; }
    // Focuses the line, its text selected.
    void focusForTyping();

Q_SIGNALS:
    // A line was written as the entry of this record id.
    void entryWritten(quint32 recordId);

private:
    void edited(const QString& text);
    void submit();
    void say(const QString& text, bool problem);
    QString readBack(const QuickEntry& entry) const;

    Context& m_context;
    std::function<platform::SystemTime()> m_day;
    KnownNames m_names;
    QLineEdit* m_line;
    QLabel* m_message;
    QCompleter* m_completer;
    QStringListModel* m_completions;
};

}  // namespace tempolatch
