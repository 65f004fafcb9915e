#include "editing/EntryCustomPage.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>

#include "settings/Settings.h"
#include "store/Lists.h"
#include "store/RecordStore.h"

namespace tempolatch {

EntryCustomPage::EntryCustomPage(EntryEditState& state, QWidget* parent)
    : EntryPage(state, parent) {
    setObjectName(QStringLiteral("customPage"));
}

void EntryCustomPage::build() {
    const Settings& settings = context().settings;
    const QString labels[] = {settings.custom1, settings.custom2, settings.custom3};
    const ListKind kinds[] = {ListKind::Custom1, ListKind::Custom2, ListKind::Custom3};
    const QString values[] = {entry().custom1, entry().custom2, entry().custom3};
    Lists lists = context().store.lists();
    auto* form = new QFormLayout(this);
    for (int i = 0; i < 3; ++i) {
        auto* box = new QComboBox(this);
        box->setObjectName(QStringLiteral("custom%1").arg(i + 1));
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->lineEdit()->setMaxLength(63);
        box->addItems(lists.texts(kinds[i]));
        box->setCurrentIndex(-1);
        box->setEditText(values[i]);
        form->addRow(QStringLiteral("%1:").arg(labels[i]), box);
        m_fields[i] = box;
    }
}

bool EntryCustomPage::apply() {
    entry().custom1 = m_fields[0]->currentText().left(63);
    entry().custom2 = m_fields[1]->currentText().left(63);
    entry().custom3 = m_fields[2]->currentText().left(63);
    return true;
}

}  // namespace tempolatch
