#include "settings/StorePage.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/Profile.h"
#include "platform/StoreAddress.h"

namespace tempolatch {

StorePage::StorePage(const QString& kept, bool givenForThisRun, const QString& current,
                     QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("storePage"));
    auto* layout = new QVBoxLayout(this);
    m_file = new QRadioButton(QStringLiteral("This profile's own &file: %1")
                                  .arg(QDir::toNativeSeparators(platform::Profile::storePath())),
                              this);
    m_file->setObjectName(QStringLiteral("fileStore"));
    m_server = new QRadioButton(QStringLiteral("A shared store on a &server:"), this);
    m_server->setObjectName(QStringLiteral("serverStore"));
    m_address = new QLineEdit(platform::shownAddress(kept), this);
    m_address->setObjectName(QStringLiteral("serverAddress"));
    m_address->setPlaceholderText(QStringLiteral("postgresql://host/database?sslmode=require"));
    auto* hint = new QLabel(
        QStringLiteral("Everyone who connects to the same server store shares its clients, "
                       "entries, expenses, rates and report layouts; options stay yours. "
                       "Passwords are not kept here: put yours in ~/.pgpass or PGPASSWORD, or "
                       "type it when Tempolatch asks. The address's sslmode is honoured."),
        this);
    hint->setWordWrap(true);
    layout->addWidget(m_file);
    layout->addWidget(m_server);
    layout->addWidget(m_address);
    layout->addWidget(hint);
    if (givenForThisRun) {
        auto* given = new QLabel(
            QStringLiteral("This run's store was named by --store or TEMPOLATCH_STORE: %1")
                .arg(platform::shownAddress(current)),
            this);
        given->setObjectName(QStringLiteral("givenStore"));
        given->setWordWrap(true);
        layout->addWidget(given);
    }
    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("storeProblem"));
    m_problem->setWordWrap(true);
    m_problem->hide();
    layout->addWidget(m_problem);
    layout->addStretch();
    (kept.isEmpty() ? m_file : m_server)->setChecked(true);
    m_address->setEnabled(!kept.isEmpty());
    connect(m_server, &QRadioButton::toggled, m_address, &QWidget::setEnabled);
    for (QWidget* w : {static_cast<QWidget*>(m_file), static_cast<QWidget*>(m_server),
                       static_cast<QWidget*>(m_address)})
        w->setEnabled(w->isEnabled() && !givenForThisRun);
}

QString StorePage::chosenAddress() const {
    return m_server->isChecked() ? m_address->text().trimmed() : QString();
}

QString StorePage::problem() const {
    if (!m_server->isChecked() || platform::isServerAddress(chosenAddress()))
        return {};
    return QStringLiteral(
        "The server's address begins with postgresql://, for example "
        "postgresql://host/database?sslmode=require.");
}

}  // namespace tempolatch

namespace tempolatch {

bool StorePage::showProblem() {
    const QString why = problem();
    m_problem->setText(why);
    m_problem->setVisible(!why.isEmpty());
    if (!why.isEmpty())
        m_address->setFocus();
    return !why.isEmpty();
}

}  // namespace tempolatch
