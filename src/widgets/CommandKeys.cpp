#include "widgets/CommandKeys.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

#include "widgets/CommandIds.h"
#include "widgets/CommandTable.h"

namespace tempolatch {

void addCommandKeys(CommandTable& table, std::initializer_list<CommandKeyRow> rows) {
    for (const CommandKeyRow& row : rows)
        table.addKeys(row.id, row.keys, QString::fromLatin1(row.description));
}

void addUndoAndHelpKeys(CommandTable& table) {
    using K = QKeySequence;
    addCommandKeys(
        table, {{cmd::Undo, {K(Qt::CTRL | Qt::Key_Z)}, "Undo"},
                {cmd::Redo, {K(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), K(Qt::CTRL | Qt::Key_Y)}, "Redo"},
                {cmd::HelpContents, {K(Qt::Key_F1)}, "Help"}});
}

void installCommandKeys(QWidget* window, const CommandTable& table,
                        const std::function<void(int id)>& run) {
    for (const CommandTable::Keys& keys : table.keys()) {
        if (keys.id == 0)
            continue;  // a key of the list itself, listed only
        auto* action = new QAction(window);
        action->setObjectName(QStringLiteral("keys%1").arg(keys.id));
        action->setShortcuts(keys.sequences);
        action->setEnabled(table.has(keys.id));
        QObject::connect(action, &QAction::triggered, window, [run, id = keys.id] { run(id); });
        window->addAction(action);
    }
}

void showCommandKeys(QAction* item, const CommandTable& table, int id) {
    const QList<QKeySequence> keys = table.keysOf(id);
    if (keys.isEmpty())
        return;
    item->setShortcuts(keys);
    item->setShortcutContext(Qt::WidgetShortcut);
}

KeyboardShortcutsDialog::KeyboardShortcutsDialog(const CommandTable& table, QWidget* parent)
    : QDialog(parent), m_table(new QTableWidget(this)) {
    setObjectName(QStringLiteral("keyboardShortcuts"));
    setWindowTitle(tr("Keyboard Shortcuts"));
    m_table->setObjectName(QStringLiteral("keys"));
    m_table->setColumnCount(2);
    m_table->setHorizontalHeaderLabels({tr("Keys"), tr("Command")});
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->horizontalHeader()->setStretchLastSection(true);
    for (const CommandTable::Keys& keys : table.keys()) {
        QStringList texts;
        for (const QKeySequence& sequence : keys.sequences)
            texts.append(sequence.toString(QKeySequence::NativeText));
        const int row = m_table->rowCount();
        m_table->insertRow(row);
        m_table->setItem(row, 0, new QTableWidgetItem(texts.join(QStringLiteral(", "))));
        m_table->setItem(row, 1, new QTableWidgetItem(keys.description));
    }
    m_table->resizeColumnsToContents();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addWidget(buttons);
    resize(460, 480);
}

}  // namespace tempolatch
