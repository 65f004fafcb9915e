#include "clients/RateDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QShortcut>
#include <QVBoxLayout>

#include "clients/RateText.h"
#include "clients/RateTreeContent.h"
#include "platform/Locale.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "settings/SettingsFonts.h"
#include "widgets/HelpWindow.h"
#include "widgets/SetupIcons.h"

namespace tempolatch {

namespace {

// The locale's usual time with seconds, as a clock on the wall reads it
// (the long format less its time zone).
QString defaultTimeFormat() {
    QString format = platform::Locale::current().timeFormat(QLocale::LongFormat);
    format.remove(QRegularExpression(QStringLiteral("\\s*\\bt+\\b")));
    return format.trimmed();
}

}  // namespace

QString RateDialog::lastModifiedText(platform::FileTime modified) {
    const auto st = platform::toSystemTime(modified);
    if (modified.isNull() || !st)
        return QStringLiteral("<New>");
    return platform::Locale::formatDate(*st, platform::Locale::longDateFormat()) +
           QLatin1Char(' ') + platform::Locale::formatDate(*st, defaultTimeFormat());
}

RateDialog::RateDialog(const Rate& rate, platform::Ui& ui, QWidget* parent)
    : QDialog(parent),
      m_ui(ui),
      m_rate(rate),
      m_type(new QComboBox(this)),
      m_description(new QLineEdit(this)),
      m_value(new QLineEdit(this)),
      m_modified(new QLabel(this)) {
    setObjectName(QStringLiteral("rateDialog"));
    setWindowTitle(QStringLiteral("Rate"));
    setFont(createFont(QStringLiteral("Tahoma"), 80, false, false));

    m_type->setObjectName(QStringLiteral("rateType"));
    for (int type = 0; type <= int(RateType::Discount); ++type)
        m_type->addItem(rateTreeIcon(rateItemImage(RateType(type))),
                        resourceString(str::RateTypeNames + type));
    const int type = int(rate.rateType);
    m_type->setCurrentIndex(type >= 0 && type <= int(RateType::Discount) ? type : 0);

    // The limits are for typing; a longer stored description stays whole.
    m_description->setObjectName(QStringLiteral("description"));
    m_description->setMaxLength(
        qMax<qsizetype>(ratetext::DescriptionLimit, rate.description.size()));
    m_description->setText(rate.description);
    m_value->setObjectName(QStringLiteral("rate"));
    m_value->setMaxLength(ratetext::RateLimit);
    m_value->setText(ratetext::valueText(rate.rate));
    m_modified->setObjectName(QStringLiteral("lastModified"));
    m_modified->setText(lastModifiedText(rate.modified));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Rate Type:"), m_type);
    form->addRow(QStringLiteral("Description:"), m_description);
    form->addRow(QStringLiteral("Rate:"), m_value);
    form->addRow(QStringLiteral("Last Modified:"), m_modified);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &RateDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    m_description->setMinimumWidth(m_description->fontMetrics().averageCharWidth() * 32);

    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this,
            [] { HelpWindow::showTopic(QStringLiteral("ratesetup")); });
}

void RateDialog::accept() {
    const RateInput input = checkRateInput(m_description->text(), m_value->text());
    if (!input.isValid()) {
        m_ui.message(resourceString(input.messageId), platform::MessageIcon::Warning, this);
        QLineEdit* field = input.focus == RateInput::Field::Description ? m_description : m_value;
        field->setFocus();
        field->selectAll();
        return;
    }
    m_rate.rateType = RateType(m_type->currentIndex());
    m_rate.description = m_description->text();
    m_rate.rate = input.value;
    QDialog::accept();
}

}  // namespace tempolatch
