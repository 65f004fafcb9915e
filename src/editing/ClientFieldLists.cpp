#include "editing/ClientFieldLists.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>

#include "store/Client.h"
#include "store/ClientNames.h"
#include "store/ClientStructure.h"
#include "store/Lists.h"
#include "store/Project.h"
#include "store/RecordStore.h"
#include "widgets/DropLists.h"

namespace tempolatch {

namespace {

// Texts of the client structure are kept to 127 characters.
constexpr int MaxNameLength = 127;

QComboBox* editableList(const QString& name, QWidget* parent) {
    return droplists::createEditable(parent, name, MaxNameLength);
}

using droplists::refill;

}  // namespace

ClientFieldLists::ClientFieldLists(RecordStore& store, QWidget* parent)
    : QObject(parent),
      m_store(store),
      m_client(editableList(QStringLiteral("client"), parent)),
      m_project(editableList(QStringLiteral("project"), parent)),
      m_phase(editableList(QStringLiteral("phase"), parent)),
      m_task(editableList(QStringLiteral("task"), parent)) {}

void ClientFieldLists::fill() {
    if (m_store.isOpen()) {
        for (const Client& c : ClientStructure(m_store).clientList())
            m_client->addItem(c.name, c.clientId);
    }
    m_client->setCurrentIndex(-1);
    refillForClient();
    m_phase->addItems(m_store.lists().texts(ListKind::Phase));
    m_phase->setCurrentIndex(-1);
}

void ClientFieldLists::setTexts(const QString& client, const QString& project, const QString& phase,
                                const QString& task) {
    const int clientIndex = m_client->findText(client, Qt::MatchFixedString);
    if (clientIndex >= 0)
        m_client->setCurrentIndex(clientIndex);
    else
        m_client->setEditText(client);
    refillForClient();
    m_project->setEditText(project);
    refillForProject();
    m_phase->setEditText(phase);
    m_task->setEditText(task);

    if (m_following)
        return;
    m_following = true;
    for (QComboBox* box : {m_client, m_project}) {
        box->installEventFilter(this);
        box->lineEdit()->installEventFilter(this);
    }
    connect(m_client, &QComboBox::activated, this, [this] {
        refillForClient();
        Q_EMIT clientLeft();
    });
    connect(m_project, &QComboBox::activated, this, &ClientFieldLists::refillForProject);
}

bool ClientFieldLists::eventFilter(QObject* watched, QEvent* event) {
    // Only while the user works in the lists, not as their window closes.
    if (event->type() == QEvent::FocusOut && m_client->isVisible()) {
        if (watched == m_client || watched == m_client->lineEdit()) {
            refillForClient();
            Q_EMIT clientLeft();
        } else if (watched == m_project || watched == m_project->lineEdit()) {
            refillForProject();
        }
    }
    return QObject::eventFilter(watched, event);
}

int ClientFieldLists::selectedClientIndex() const {
    // Names compare exactly: a client typed in another case is a new client.
    return m_client->findText(m_client->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
}

quint32 ClientFieldLists::selectedClientId() const {
    const int index = selectedClientIndex();
    return index >= 0 ? m_client->itemData(index).toUInt() : 0;
}

void ClientFieldLists::refillForClient() {
    if (!m_store.isOpen())
        return;
    ClientStructure structure(m_store);
    const quint32 clientId = selectedClientId();
    refill(m_project, structure.projectNames(clientId));
    refill(m_task, structure.taskNames(clientId));
}

void ClientFieldLists::refillForProject() {
    if (selectedClientIndex() < 0 || !m_store.isOpen())
        return;
    ClientStructure structure(m_store);
    const quint32 clientId = selectedClientId();
    const QString project = m_project->currentText();
    refill(m_task, project.isEmpty() ? structure.taskNames(clientId)
                                     : structure.projectTaskNames(clientId, project));
}

}  // namespace tempolatch
