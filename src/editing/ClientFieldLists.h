#pragma once

#include <QObject>
#include <QString>

class QComboBox;
class QWidget;

namespace tempolatch {

class RecordStore;

// The client, project, phase and task lists of a dialog that names a piece
// of work (the entry editor's General page, Add Timer): clients from the
// client structure, projects and tasks of the chosen client (of client id 0
// while none is chosen), refilled when the client or the project list is
// left, and the phases of the drop list. Each is an editable list whose
// text may name something the structure does not have yet.
class ClientFieldLists : public QObject {
    Q_OBJECT
public:
    // Makes the four lists (object names client, project, phase, task) as
    // children of `parent`; fill() puts the store's items in.
    ClientFieldLists(RecordStore& store, QWidget* parent);

    QComboBox* client() const { return m_client; }
    QComboBox* project() const { return m_project; }
    QComboBox* phase() const { return m_phase; }
    QComboBox* task() const { return m_task; }

    void fill();
    // Shows these texts: a listed client is chosen (its projects and tasks
    // follow), anything else stands as typed. Then the lists start to
    // follow the user.
    void setTexts(const QString& client, const QString& project, const QString& phase,
                  const QString& task);

    // The client item the text names, exactly; -1 when none.
    int selectedClientIndex() const;
    // Its client id; 0 when the text names no listed client.
    quint32 selectedClientId() const;
    // Refills projects and tasks for the client the text names.
    void refillForClient();
    // Refills the tasks for the project typed (the client's own tasks when
    // the project is empty).
    void refillForProject();

Q_SIGNALS:
    // The user left or picked in the client list; the projects and tasks
    // have been refilled.
    void clientLeft();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    RecordStore& m_store;
    QComboBox* m_client;
    QComboBox* m_project;
    QComboBox* m_phase;
    QComboBox* m_task;
    bool m_following = false;
};

}  // namespace tempolatch
