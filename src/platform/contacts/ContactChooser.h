#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>

class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QStringListModel;

namespace tempolatch::platform {

class Registry;
class Ui;

// Lets the user pick one person from the vCard files of the contact folders
// (ContactFolders): a list with a search box that narrows it as one types,
// the folders read, and "Folder..." to read another folder instead.
class ContactChooser : public QDialog {
    Q_OBJECT

public:
    // "Folder..." asks `ui` for the folder.
    ContactChooser(const QStringList& folders, Ui& ui, Registry& registry,
                   QWidget* parent = nullptr);

    // Opens the chooser on the usual folders; the chosen display name, or an
    // empty string when the user picked nobody.
    static QString choose(Ui& ui, Registry& registry, QWidget* parent);

    // True when every word of the query occurs in the name, ignoring letter
    // case and accents ("jo mull" finds "Jörg Müller").
    static bool matches(const QString& name, const QString& query);

    void setFolders(const QStringList& folders);
    QStringList folders() const { return m_folders; }
    QString chosenName() const { return m_chosen; }

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyFilter();
    void pickFolder();
    void updateState();

    Ui& m_ui;
    Registry& m_registry;
    QLineEdit* m_search = nullptr;
    QListView* m_list = nullptr;
    QStringListModel* m_model = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_folderLabel = nullptr;
    QPushButton* m_folderButton = nullptr;
    QPushButton* m_okButton = nullptr;

    QStringList m_folders;
    QStringList m_names;
    QStringList m_keys;  // search keys of m_names, same order
    QString m_chosen;
};

}  // namespace tempolatch::platform
