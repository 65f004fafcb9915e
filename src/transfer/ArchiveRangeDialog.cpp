#include "transfer/ArchiveRangeDialog.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QShortcut>
#include <QVBoxLayout>

#include "platform/DayChange.h"
#include "widgets/DatePicker.h"
#include "widgets/HelpWindow.h"

namespace tempolatch {

using platform::SystemTime;

namespace {

QDateEdit* dayPicker(const SystemTime& day, const QString& name, QWidget* parent) {
    auto* picker = new QDateEdit(day.date(), parent);
    picker->setObjectName(name);
    useFramedCalendar(picker);
    picker->setMinimumDate(QDate(1601, 1, 2));
    picker->setMaximumDate(QDate(9999, 12, 30));
    return picker;
}

}  // namespace

ArchiveRangeDialog::ArchiveRangeDialog(const SystemTime& start, const SystemTime& end,
                                       QWidget* parent)
    : QDialog(parent),
      m_presetStart(start),
      m_presetEnd(end),
      m_start(dayPicker(start, QStringLiteral("archiveStart"), this)),
      m_end(dayPicker(end, QStringLiteral("archiveEnd"), this)),
      m_delete(new QCheckBox(QStringLiteral("Delete when archived"), this)) {
    setObjectName(QStringLiteral("archiveRangeDialog"));
    setWindowTitle(QStringLiteral("Tempolatch"));
    m_delete->setObjectName(QStringLiteral("deleteWhenArchived"));
    m_delete->setChecked(true);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Start:"), m_start);
    form->addRow(QStringLiteral("End:"), m_end);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_delete);
    layout->addWidget(buttons);

    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this,
            [] { HelpWindow::showTopic(QStringLiteral("deldata")); });
}

SystemTime ArchiveRangeDialog::start() const {
    return platform::onDay(m_presetStart, m_start->date());
}

SystemTime ArchiveRangeDialog::end() const {
    return platform::onDay(m_presetEnd, m_end->date());
}

bool ArchiveRangeDialog::deleteWhenArchived() const {
    return m_delete->isChecked();
}

}  // namespace tempolatch
