#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QRadioButton;

namespace tempolatch {

// The Options sheet's "Store" page: the profile keeps its data in its own
// file, or in a shared store on a server given by its address. Passwords
// are not asked for here: libpq finds them (~/.pgpass, PGPASSWORD), or the
// program asks when it connects.
class StorePage : public QWidget {
    Q_OBJECT
public:
    // `kept`: the server address the profile is connected to, empty for
    // its file; `givenForThisRun`: --store or TEMPOLATCH_STORE chose this
    // run's store (`current`), and the page only shows it.
    StorePage(const QString& kept, bool givenForThisRun, const QString& current,
              QWidget* parent = nullptr);

    // The server address chosen, as typed; empty for the profile's file.
    QString chosenAddress() const;
    // Why the choice cannot be kept (an address that is no postgresql://
    // address); empty when it can.
    QString problem() const;
    // Shows the problem on the page, with the address to mend in focus;
    // false when there is none.
    bool showProblem();
    QLineEdit* addressEdit() const { return m_address; }

private:
    QRadioButton* m_file = nullptr;
    QRadioButton* m_server = nullptr;
    QLineEdit* m_address = nullptr;
    QLabel* m_problem = nullptr;
};

}  // namespace tempolatch
