#include "editing/QuickEntryBar.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QStringListModel>
#include <QVBoxLayout>

#include "editing/QuickEntryWriter.h"
#include "platform/Locale.h"
#include "platform/Ui.h"
#include "settings/Context.h"
#include "store/RecordValues.h"

namespace tempolatch {

QuickEntryBar::QuickEntryBar(Context& context, std::function<platform::SystemTime()> day,
                             QWidget* parent)
    : QWidget(parent),
      m_context(context),
      m_day(std::move(day)),
      m_names(quickentry::storeNames(context.store)),
      m_line(new QLineEdit(this)),
      m_message(new QLabel(this)),
      m_completer(new QCompleter(this)),
      m_completions(new QStringListModel(this)) {
    setObjectName(QStringLiteral("quickEntryBar"));
    m_line->setObjectName(QStringLiteral("quickEntry"));
    m_line->setPlaceholderText(
        QStringLiteral("Quick entry (Ctrl+L): 1.5h Acme/Website/Design fixing the header"));
    m_line->setClearButtonEnabled(true);
    m_message->setObjectName(QStringLiteral("quickEntryMessage"));
    m_message->setTextFormat(Qt::PlainText);
    m_message->setContentsMargins(4, 0, 4, 0);
    m_message->hide();

    m_completer->setModel(m_completions);
    m_completer->setCaseSensitivity(Qt::CaseInsensitive);
    m_completer->setCompletionMode(QCompleter::PopupCompletion);
    m_completer->setModelSorting(QCompleter::UnsortedModel);
    m_line->setCompleter(m_completer);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(m_line);
    layout->addWidget(m_message);

    // The completions follow what the user types; the completer's own
    // changes of the text (a highlighted completion) must leave its list
    // alone, or the item picked with Enter would be gone.
    connect(m_line, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_completions->setStringList(quickentry::completions(text, m_names));
    });
    connect(m_line, &QLineEdit::textChanged, this, &QuickEntryBar::edited);
    connect(m_line, &QLineEdit::returnPressed, this, &QuickEntryBar::submit);
}

void QuickEntryBar::focusForTyping() {
    m_line->setFocus(Qt::ShortcutFocusReason);
    m_line->selectAll();
}

void QuickEntryBar::edited(const QString& text) {
    if (text.trimmed().isEmpty()) {
        say({}, false);
        return;
    }
    const QuickEntryReading reading = quickentry::read(text, m_names);
    if (reading.entry)
        say(readBack(*reading.entry) + QStringLiteral(" — Enter adds it"), false);
    else
        say(reading.problem, true);
}

QString QuickEntryBar::readBack(const QuickEntry& entry) const {
    QStringList parts;
    QString time = hundredthsText(entry.duration) + QLatin1Char('h');
    if (entry.start) {
        platform::SystemTime start = m_day();
        start.hour = quint16(entry.start->hour());
        start.minute = quint16(entry.start->minute());
        time += QStringLiteral(" from ") + platform::Locale::timeWithoutSeconds(start);
    }
    parts << platform::Locale::shortDate(m_day()) << time;
    QStringList names{entry.client};
    for (const QString* name : {&entry.project, &entry.task})
        if (!name->isEmpty())
            names << *name;
    parts << names.join(QStringLiteral(" / "));
    if (!entry.note.isEmpty())
        parts << QLatin1Char('"') + entry.note + QLatin1Char('"');
    return parts.join(QStringLiteral(" · "));
}

void QuickEntryBar::submit() {
    // The line hears Enter before its completer: Enter on a highlighted
    // completion picks it and writes nothing.
    if (m_completer->popup()->isVisible() && m_completer->popup()->currentIndex().isValid())
        return;
    if (m_line->text().trimmed().isEmpty())
        return;
    const QuickEntryReading reading = quickentry::read(m_line->text(), m_names);
    if (!reading.entry) {
        say(reading.problem, true);
        return;
    }
    const quickentry::QuickEntryWritten written =
        quickentry::write(*reading.entry, m_day(), m_context.store, m_context.settings);
    if (!written.recordId) {
        say(written.problem, true);
        return;
    }
    const QString added = QStringLiteral("Added ") + readBack(*reading.entry);
    m_line->clear();
    m_context.ui.notice(added);
    Q_EMIT entryWritten(*written.recordId);
}

void QuickEntryBar::say(const QString& text, bool problem) {
    m_message->setText(text);
    // A plain red reads on light and dark themes alike.
    m_message->setStyleSheet(problem ? QStringLiteral("color: #c62828;") : QString());
    m_message->setVisible(!text.isEmpty());
}

}  // namespace tempolatch
