#include "views/FilterLists.h"

#include <QComboBox>

#include "platform/StringTable.h"
#include "store/Client.h"
#include "store/ClientNames.h"
#include "store/ClientStructure.h"
#include "store/Project.h"
#include "store/RecordStore.h"
#include "views/ViewIds.h"

namespace tempolatch::filterlists {

QComboBox* create(QWidget* parent, const char* name) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(16);
    return box;
}

void setItems(QComboBox* box, const QStringList& texts) {
    if (!box)
        return;
    box->clear();
    box->addItem(resourceString(str::All));
    box->addItems(texts);
}

void showText(QComboBox* box, const QString& text) {
    if (!box)
        return;
    if (text.isEmpty()) {
        box->setCurrentIndex(0);
        return;
    }
    int index = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index <= 0) {
        box->insertItem(1, text);
        index = 1;
    }
    box->setCurrentIndex(index);
}

QString chosenText(const QComboBox* box) {
    return box && box->currentIndex() > 0 ? box->currentText() : QString();
}

void fillClients(QComboBox* box, RecordStore& store) {
    box->clear();
    box->addItem(resourceString(str::All), 0u);
    if (store.isOpen())
        for (const Client& client : ClientStructure(store).clientList())
            box->addItem(client.name, client.clientId);
}

void fillProjectsAndContacts(QComboBox* projects, QComboBox* contacts, RecordStore& store,
                             quint32 clientId) {
    QStringList projectNames;
    QStringList contactNames;
    if (store.isOpen()) {
        ClientStructure structure(store);
        projectNames = structure.projectNames(clientId);
        contactNames = structure.contactNames(clientId);
    }
    setItems(projects, projectNames);
    setItems(contacts, contactNames);
}

}  // namespace tempolatch::filterlists
