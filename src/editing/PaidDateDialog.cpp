#include "editing/PaidDateDialog.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "platform/Clock.h"
#include "platform/Locale.h"
#include "widgets/DatePicker.h"

namespace tempolatch {

PaidDateDialog::PaidDateDialog(platform::FileTime paidDate, QWidget* parent)
    : PaidDateDialog(paidDate,
                     QStringLiteral("Paid date is automatically set when using Mark As Paid on "
                                    "context menu or Mark Paid feature."),
                     parent) {}

PaidDateDialog::PaidDateDialog(platform::FileTime paidDate, const QString& textLine,
                               QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("paidDateDialog"));
    setWindowTitle(QStringLiteral("Paid Date"));
    auto* text = new QLabel(textLine, this);
    text->setObjectName(QStringLiteral("text"));
    text->setWordWrap(true);
    m_picker = new DateBox(this);
    m_picker->setObjectName(QStringLiteral("paidDate"));
    useFramedCalendar(m_picker);
    m_picker->setDisplayFormat(platform::Locale::current().dateFormat(QLocale::ShortFormat));
    const platform::SystemTime now = platform::Clock::now();
    std::optional<platform::SystemTime> shown;
    if (!paidDate.isNull())
        shown = platform::toSystemTime(paidDate);
    const platform::SystemTime st = shown.value_or(now);
    m_picker->setDate(st.date());
    m_time = QTime(st.hour, st.minute, st.second, st.milliseconds);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Custom Paid Date:"), m_picker);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(form);
    layout->addWidget(box);
}

platform::FileTime PaidDateDialog::paidDate() const {
    return platform::fileTimeOf(
        QDateTime(m_picker->date(), m_time.isValid() ? m_time : QTime(0, 0)));
}

}  // namespace tempolatch
