#include "clients/DropListsDialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QVBoxLayout>

#include "clients/DropListEdits.h"
#include "clients/SetupCommandIds.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "settings/BarKind.h"
#include "settings/Context.h"
#include "store/RecordStore.h"
#include "widgets/DialogBar.h"
#include "widgets/WindowPlace.h"

namespace tempolatch {

using platform::Answer;
using platform::MessageIcon;
using platform::Ui;

namespace {

constexpr int RecordIdRole = Qt::UserRole;
constexpr int StoredTextRole = Qt::UserRole + 1;
// An edit box the finger (or the eye) can hit.
constexpr int MinimumEditHeight = 20;

class ItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            line->setMaxLength(MaxNameLength);
        editor->setMinimumHeight(MinimumEditHeight);
        return editor;
    }
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex&) const override {
        QRect rect = option.rect;
        rect.setHeight(qMax(rect.height(), MinimumEditHeight));
        editor->setGeometry(rect);
    }
};

}  // namespace

DropListsDialog::DropListsDialog(Context& context, QWidget* parent)
    : QDialog(parent),
      m_context(context),
      m_type(new QComboBox(this)),
      m_items(new QListWidget(this)) {
    setObjectName(QStringLiteral("dropListsDialog"));
    setWindowTitle(QStringLiteral("Edit Drop Lists"));
    m_type->setObjectName(QStringLiteral("listType"));
    m_items->setObjectName(QStringLiteral("items"));
    for (const DropListType& type : dropListTypes())
        m_type->addItem(resourceString(type.nameId), int(type.kind));
    m_items->setItemDelegate(new ItemDelegate(m_items));
    m_items->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::SelectedClicked);

    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&List Type:"), m_type);
    layout->addLayout(form);
    layout->addWidget(new QLabel(QStringLiteral("Items:"), content));
    layout->addWidget(m_items, 1);

    m_bar = new DialogBar(dialogBarKind(m_context.settings), this);
    connect(m_bar, &DialogBar::commandTriggered, this, &DropListsDialog::onCommand);
    QMenu* menu = m_bar->kind() == DialogBar::Kind::SoftKeys
                      ? m_bar->addPopup(QStringLiteral("Menu"), QStringLiteral("menu"))
                      : nullptr;
    m_bar->addCommand(menu, cmd::DeleteItem, QStringLiteral("Delete"));
    m_bar->addCommand(menu, cmd::DeleteAllItems, QStringLiteral("Delete All"));
    m_bar->addCommand(menu, cmd::ImportNames, QStringLiteral("Import..."));
    m_bar->frame(this, content, QStringLiteral("editlist"), cmd::DeleteItem);
    auto* del = new QShortcut(QKeySequence::Delete, m_items, nullptr, nullptr, Qt::WidgetShortcut);
    connect(del, &QShortcut::activated, this, [this] { onCommand(cmd::DeleteItem); });

    connect(m_type, &QComboBox::currentIndexChanged, this, [this] { refill(); });
    connect(m_items, &QListWidget::itemChanged, this, &DropListsDialog::itemEdited);
    connect(m_items, &QListWidget::itemSelectionChanged, this, &DropListsDialog::updateCommands);
    refill();
    keepWindowPlace(this, m_context.registry, QStringLiteral("DropLists"));
}

ListKind DropListsDialog::currentKind() const {
    return ListKind(m_type->currentData().toInt());
}

void DropListsDialog::refill(const QString& select) {
    m_filling = true;
    m_items->clear();
    QListWidgetItem* selected = nullptr;
    auto addRow = [&](const ListItem& item) {
        auto* row = new QListWidgetItem(item.text, m_items);
        row->setFlags(row->flags() | Qt::ItemIsEditable);
        row->setData(RecordIdRole, item.recordId);
        row->setData(StoredTextRole, item.text);
        if (!select.isEmpty() && item.text == select && !selected)
            selected = row;
    };
    for (const ListItem& item : DropListEdits(m_context.store).items(currentKind()))
        addRow(item);
    // The last row has no record: typing into it adds a value.
    addRow(ListItem{});
    m_filling = false;
    if (selected)
        m_items->setCurrentItem(selected);
    updateCommands();
}

void DropListsDialog::itemEdited(QListWidgetItem* item) {
    if (m_filling)
        return;
    const ListItem row{item->data(StoredTextRole).toString(), item->data(RecordIdRole).toUInt()};
    const QString text = item->text();
    const WriteResult result = DropListEdits(m_context.store).commit(currentKind(), row, text);
    if (!succeeded(result))
        reportRefused();
    // Not from inside the list's own change signal.
    QTimer::singleShot(0, this, [this, text] { refill(text); });
}

void DropListsDialog::updateCommands() {
    QListWidgetItem* item = m_items->currentItem();
    const bool recordSelected =
        item && item->isSelected() && item->data(RecordIdRole).toUInt() != 0;
    m_bar->setCommandEnabled(cmd::DeleteItem, recordSelected);
}

void DropListsDialog::onCommand(int id) {
    if (id == cmd::DeleteItem)
        deleteSelected();
    else if (id == cmd::DeleteAllItems)
        deleteAll();
    else if (id == cmd::ImportNames)
        importFile();
}

void DropListsDialog::deleteSelected() {
    QListWidgetItem* item = m_items->currentItem();
    const quint32 recordId = item && item->isSelected() ? item->data(RecordIdRole).toUInt() : 0;
    if (recordId == 0)
        return;
    if (DropListEdits(m_context.store).remove(recordId) != WriteResult::Written) {
        reportRefused();
        return;
    }
    m_filling = true;
    delete item;
    m_filling = false;
    updateCommands();
}

void DropListsDialog::deleteAll() {
    if (m_context.ui.ask(resourceString(str::DeleteListQuestion), MessageIcon::Question,
                         Ui::Buttons::YesNo, Answer::No, this) != Answer::Yes)
        return;
    if (!DropListEdits(m_context.store).removeAll(currentKind()))
        reportRefused();
    refill();
}

void DropListsDialog::importFile() {
    const QString path =
        m_context.ui.openFile(QString(), resourceString(str::ListFileFilter), QString(), this);
    if (path.isEmpty())
        return;
    ListFileProblem problem = ListFileProblem::Unreadable;
    const auto added = DropListEdits(m_context.store).importFile(currentKind(), path, &problem);
    if (!added)
        m_context.ui.message(problem == ListFileProblem::NotText
                                 ? notTextMessage(path)
                                 : resourceString(str::UnableToImport),
                             MessageIcon::Stop, this);
    refill();
}

void DropListsDialog::reportRefused() {
    m_context.ui.message(QStringLiteral("Error: %1").arg(m_context.store.lastError()),
                         MessageIcon::Stop, this);
}

void runEditDropLists(Context& context, QWidget* parent) {
    DropListsDialog dialog(context, parent);
    dialog.exec();
}

}  // namespace tempolatch
