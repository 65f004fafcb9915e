#include "views/CustomizeDefaultView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

#include "platform/StringTable.h"
#include "settings/Settings.h"
#include "views/ViewCustomization.h"
#include "views/ViewIds.h"
#include "widgets/SwatchPicker.h"

namespace tempolatch {

namespace {

SwatchPicker* colourChooser(const QString& name, QWidget* parent) {
    QList<SwatchPicker::Swatch> swatches;
    for (int i = 0; i < ViewCustomization::PaletteSize; ++i) {
        const auto rgb = ViewCustomization::paletteRgb(i);
        if (rgb)
            swatches.append({QColor::fromRgb(*rgb), QColor::fromRgb(*rgb).name().toUpper()});
        else
            swatches.append({parent->palette().color(QPalette::WindowText), QObject::tr("Default")});
    }
    auto* picker = new SwatchPicker(swatches, 12, parent);
    picker->setObjectName(name);
    return picker;
}

}  // namespace

CustomizeDefaultView::CustomizeDefaultView(Settings& settings, QWidget* parent)
    : QDialog(parent), m_settings(settings) {
    setWindowTitle(tr("Customize Default View"));
    auto* tabs = new QTabWidget(this);
    tabs->addTab(createDisplayPage(), tr("Display"));
    tabs->addTab(createColourPage(), tr("Colour"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons);

    const ViewCustomization cust(m_settings.viewCust);
    m_entryTime->setCurrentIndex(cust.entryTimeMode());
    m_clientName->setChecked(cust.showClientName());
    m_statusIcon->setChecked(cust.showStatusIcon());
    for (int status = 0; status < 4; ++status)
        m_colours[status]->setCurrentIndex(cust.colourIndex(status));
}

QWidget* CustomizeDefaultView::createDisplayPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* heading = new QLabel(tr("Display Elements"), page);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    layout->addWidget(heading);
    auto* form = new QFormLayout;
    m_entryTime = new QComboBox(page);
    m_entryTime->setObjectName(QStringLiteral("entryTime"));
    for (int mode = 0; mode < 3; ++mode)
        m_entryTime->addItem(resourceString(str::EntryTimeModes + mode));
    form->addRow(tr("Entry Time:"), m_entryTime);
    layout->addLayout(form);
    m_clientName = new QCheckBox(tr("Show Client Name"), page);
    m_clientName->setObjectName(QStringLiteral("showClientName"));
    m_statusIcon = new QCheckBox(tr("Show Status Icon"), page);
    m_statusIcon->setObjectName(QStringLiteral("showStatusIcon"));
    layout->addWidget(m_clientName);
    layout->addWidget(m_statusIcon);
    layout->addStretch(1);
    return page;
}

QWidget* CustomizeDefaultView::createColourPage() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    static const char* const kNames[] = {"nonBillableColour", "billableColour", "billedColour",
                                         "paidColour"};
    const QString labels[] = {tr("Non-Billable Item:"), tr("Billable Item:"), tr("Billed Item:"),
                              tr("Paid Item:")};
    for (int status = 0; status < 4; ++status) {
        m_colours[status] = colourChooser(QString::fromLatin1(kNames[status]), page);
        form->addRow(labels[status], m_colours[status]);
    }
    return page;
}

void CustomizeDefaultView::accept() {
    auto& words = m_settings.viewCust;
    words[ViewCustomization::ModeWord] = quint32(qMax(0, m_entryTime->currentIndex()));
    quint32 display =
        words[ViewCustomization::DisplayWord] &
        ~quint32(ViewCustomization::ShowClientName | ViewCustomization::ShowStatusIcon);
    if (m_clientName->isChecked())
        display |= ViewCustomization::ShowClientName;
    if (m_statusIcon->isChecked())
        display |= ViewCustomization::ShowStatusIcon;
    words[ViewCustomization::DisplayWord] = display;
    for (int status = 0; status < 4; ++status)
        words[ViewCustomization::ColourWords + status] =
            quint32(qMax(0, m_colours[status]->currentIndex()));
    QDialog::accept();
}

bool CustomizeDefaultView::run(Settings& settings, QWidget* parent) {
    CustomizeDefaultView sheet(settings, parent);
    return sheet.exec() == QDialog::Accepted;
}

}  // namespace tempolatch
