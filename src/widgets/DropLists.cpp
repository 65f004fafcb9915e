#include "widgets/DropLists.h"

#include <QComboBox>
#include <QLineEdit>

namespace tempolatch::droplists {

QComboBox* createEditable(QWidget* parent, const QString& name, int maxLength,
                          const QStringList& items) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->lineEdit()->setMaxLength(maxLength);
    box->addItems(items);
    box->setCurrentIndex(-1);
    return box;
}

void refill(QComboBox* box, const QStringList& items) {
    const QString text = box->currentText();
    box->clear();
    box->addItems(items);
    box->setCurrentIndex(-1);
    box->setEditText(text);
}

}  // namespace tempolatch::droplists
