#include "settings/OptionsSheet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "platform/PlatformInfo.h"
#include "platform/Profile.h"
#include "platform/Registry.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "settings/Context.h"
#include "settings/InvoiceNumbers.h"
#include "settings/Settings.h"
#include "settings/SettingsFonts.h"
#include "settings/StoreChoice.h"
#include "settings/StorePage.h"
#include "store/Lists.h"
#include "store/RecordStore.h"
#include "widgets/HelpWindow.h"
#include "widgets/OptionalNumber.h"
#include "widgets/WindowPlace.h"

namespace tempolatch {

namespace {

constexpr int MaxCurrencyLength = 15;
constexpr int MaxCustomFieldLength = 63;
constexpr int MaxInvoicePrefixLength = 31;
constexpr int MaxTaxNameLength = 31;
constexpr int MaxInvoiceNoteLength = 255;

QString text(const char* s) {
    return QString::fromLatin1(s);
}

QStringList resourceStrings(int first, int last) {
    QStringList out;
    for (int id = first; id <= last; ++id)
        out.append(resourceString(id));
    return out;
}

// A list showing the entry at index; an index out of range selects nothing.
QComboBox* choiceList(const QString& name, const QStringList& items, int index) {
    auto* combo = new QComboBox;
    combo->setObjectName(name);
    combo->addItems(items);
    combo->setCurrentIndex(index >= 0 && index < items.size() ? index : -1);
    return combo;
}

// The chosen index, or the old value when nothing is chosen.
template <typename T>
T chosen(const QComboBox* combo, T old) {
    return combo->currentIndex() >= 0 ? T(combo->currentIndex()) : old;
}

QCheckBox* checkBox(const QString& name, const QString& label, bool checked) {
    auto* box = new QCheckBox(label);
    box->setObjectName(name);
    box->setChecked(checked);
    return box;
}

// A page: its bold heading (when it has one) above its controls.
QWidget* page(const QString& heading, QVBoxLayout*& layout) {
    auto* widget = new QWidget;
    layout = new QVBoxLayout(widget);
    if (!heading.isEmpty()) {
        auto* title = new QLabel(heading);
        title->setFont(createFont(text("Tahoma"), 80, true, false));
        layout->addWidget(title);
    }
    return widget;
}

QFormLayout* form(QVBoxLayout* layout) {
    auto* f = new QFormLayout;
    layout->addLayout(f);
    return f;
}

}  // namespace

OptionsSheet::OptionsSheet(const Settings& settings, const QStringList& currencies,
                           platform::Registry& registry, QWidget* parent)
    : QDialog(parent), m_pages(new QTabWidget(this)) {
    setObjectName(QStringLiteral("optionsSheet"));
    setWindowTitle(text("Options"));
    m_pages->setObjectName(QStringLiteral("pages"));
    // All tabs in view, none behind scroll arrows.
    m_pages->setUsesScrollButtons(false);
    m_pages->addTab(buildViewPage(settings), text("View"));
    m_pages->addTab(buildGeneralPage(settings), text("General"));
    m_pages->addTab(buildDefaultsPage(settings, currencies), text("Defaults"));
    m_pages->addTab(buildExportPage(settings), text("Export"));
    m_pages->addTab(buildCustomFieldsPage({text("Description for custom field 1:"),
                                           text("Description for custom field 2:"),
                                           text("Description for custom field 3:")},
                                          {settings.custom1, settings.custom2, settings.custom3},
                                          m_customFields, QStringLiteral("custom")),
                    text("Custom Fields 1"));
    m_pages->addTab(buildCustomFieldsPage({text("Description for expense custom field 1:"),
                                           text("Description for expense custom field 2:")},
                                          {settings.expenseCustom1, settings.expenseCustom2},
                                          m_expenseFields, QStringLiteral("expenseCustom")),
                    text("Custom Fields 2"));
    m_pages->addTab(buildOwnerPage(settings), text("Owner"));
    m_pages->addTab(buildInvoicePage(settings), text("Invoice"));
    m_storePage = new StorePage(storechoice::kept(registry), storechoice::givenForThisRun(),
                                platform::Profile::storeAddress(), this);
    m_pages->addTab(m_storePage, text("Store"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (m_storePage->showProblem())
            m_pages->setCurrentWidget(m_storePage);
        else
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addWidget(buttons);

    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [] { HelpWindow::showTopic(text("options")); });
    keepWindowPlace(this, registry, QStringLiteral("Options"));
}

QWidget* OptionsSheet::buildViewPage(const Settings& s) {
    QVBoxLayout* layout = nullptr;
    QWidget* widget = page(text("Main View Options"), layout);
    QFormLayout* f = form(layout);
    m_weekStart =
        choiceList(QStringLiteral("weekStart"),
                   {resourceString(str::WeekStartSunday), resourceString(str::WeekStartSunday + 1)},
                   s.hasFlag(WeekStartsMonday) ? 1 : 0);
    f->addRow(text("Week start:"), m_weekStart);
    m_fontSize =
        choiceList(QStringLiteral("fontSize"), {text("7"), text("8"), text("9")}, s.fontSize);
    m_bold = checkBox(QStringLiteral("bold"), text("Bold"), s.hasFlag(BoldListFont));
    auto* fontRow = new QHBoxLayout;
    fontRow->addWidget(m_fontSize);
    fontRow->addWidget(m_bold);
    fontRow->addStretch();
    f->addRow(text("Font size:"), fontRow);
    m_itemTap = choiceList(QStringLiteral("itemTap"),
                           {resourceString(str::TapEdit), resourceString(str::TapEdit + 1)},
                           s.hasFlag(TapPreviews) ? 1 : 0);
    f->addRow(text("Item tap option:"), m_itemTap);
    m_timerStripPlace = choiceList(
        QStringLiteral("timerStripPlace"),
        {text("Above the list"), text("At the bottom, by the status line")}, s.timerStripPlace);
    f->addRow(text("Timer strip:"), m_timerStripPlace);
    m_weekNumbers = checkBox(QStringLiteral("showWeekNumber"),
                             text("Show week number (Week view only)"), s.hasFlag(ShowWeekNumbers));
    layout->addWidget(m_weekNumbers);
    m_softKeysAtOpening = s.hasFlag(SoftKeyMenus);
    m_softKeys =
        checkBox(QStringLiteral("softKeys"), text("Use soft key menus"), m_softKeysAtOpening);
    // Older platforms have no soft keys to offer.
    const bool offered = platform::PlatformMajorVersion >= 5;
    m_softKeys->setVisible(offered);
    m_softKeys->setEnabled(offered);
    layout->addWidget(m_softKeys);
    layout->addStretch();
    return widget;
}

QWidget* OptionsSheet::buildGeneralPage(const Settings& s) {
    QVBoxLayout* layout = nullptr;
    QWidget* widget = page(text("Special Options"), layout);
    m_precise = checkBox(QStringLiteral("preciseCalculation"),
                         text("Enable precise calculations for minutes 10, 20 , 40, and 50"),
                         s.hasFlag(PreciseCalculation));
    layout->addWidget(m_precise);
    m_interval = choiceList(QStringLiteral("durationInterval"),
                            resourceStrings(str::DurationInterval10, str::DurationInterval10 + 4),
                            s.timeInterval);
    form(layout)->addRow(text("Duration interval:"), m_interval);
    auto* timers = new QGroupBox(text("Timer Options"));
    auto* timersLayout = new QVBoxLayout(timers);
    m_askClose = checkBox(QStringLiteral("askClose"),
                          text("Prompt before close if timers are running"), s.askClose);
    timersLayout->addWidget(m_askClose);
    m_idleLimit = new OptionalNumber(
        QStringLiteral("idleLimit"), text("When I return after being idle for"),
        text("minutes, ask what to do with the time away"),
        {Settings::LeastIdleMinutes, Settings::MostIdleMinutes, 15}, s.idleMinutes);
    timersLayout->addWidget(m_idleLimit);
    m_longTimer = new OptionalNumber(
        QStringLiteral("longTimer"), text("Notify me when a timer has run for more than"),
        text("hours"), {1, Settings::MostLongTimerHours, 8}, s.longTimerHours);
    timersLayout->addWidget(m_longTimer);
    layout->addWidget(timers);
    layout->addStretch();
    return widget;
}

QWidget* OptionsSheet::buildDefaultsPage(const Settings& s, const QStringList& currencies) {
    QVBoxLayout* layout = nullptr;
    QWidget* widget = page(text("New Entry Defaults"), layout);
    m_billable =
        checkBox(QStringLiteral("billable"), text("Billable"), s.hasFlag(NewEntriesBillable));
    layout->addWidget(m_billable);

    m_currency = new QComboBox;
    m_currency->setObjectName(QStringLiteral("currency"));
    m_currency->setEditable(true);
    m_currency->setInsertPolicy(QComboBox::NoInsert);
    m_currency->addItems(currencies);
    m_currency->lineEdit()->setMaxLength(MaxCurrencyLength);
    m_currency->setCurrentText(s.defaultCurrency.left(MaxCurrencyLength));
    form(layout)->addRow(text("Currency:"), m_currency);

    m_granularity = checkBox(QStringLiteral("granularity"), text("Enable duration granularity of"),
                             s.hasFlag(DurationGranularity));
    QStringList minutes;
    int current = -1;
    for (int m : Settings::MinTimeChoices) {
        if (m == s.minTime)
            current = int(minutes.size());
        minutes.append(QString::number(m));
    }
    m_minTime = choiceList(QStringLiteral("minTime"), minutes, current);
    // The minutes can be chosen as soon as the box is ticked.
    m_minTime->setEnabled(s.hasFlag(DurationGranularity));
    connect(m_granularity, &QCheckBox::toggled, m_minTime, &QWidget::setEnabled);
    auto* row = new QHBoxLayout;
    row->addWidget(m_granularity);
    row->addWidget(m_minTime);
    row->addStretch();
    layout->addLayout(row);
    layout->addStretch();
    return widget;
}

// Who sends the invoices: the block at the top of an invoice report.
QWidget* OptionsSheet::buildOwnerPage(const Settings& s) {
    QVBoxLayout* layout = nullptr;
    QWidget* widget = page(QString(), layout);
    auto* form = new QFormLayout();
    const auto line = [&](const QString& name, const QString& value) {
        auto* edit = new QLineEdit(value);
        edit->setObjectName(name);
        edit->setMaxLength(64);
        return edit;
    };
    m_ownerName = line(QStringLiteral("ownerName"), s.owner.name);
    m_ownerCompany = line(QStringLiteral("ownerCompany"), s.owner.company);
    m_ownerAddress = new QPlainTextEdit(s.owner.address);
    m_ownerAddress->setObjectName(QStringLiteral("ownerAddress"));
    m_ownerAddress->setTabChangesFocus(true);
    m_ownerLine1 = line(QStringLiteral("ownerLine1"), s.owner.line1);
    m_ownerLine2 = line(QStringLiteral("ownerLine2"), s.owner.line2);
    form->addRow(text("Name:"), m_ownerName);
    form->addRow(text("Company:"), m_ownerCompany);
    form->addRow(text("Address:"), m_ownerAddress);
    form->addRow(text("Further lines:"), m_ownerLine1);
    form->addRow(QString(), m_ownerLine2);
    form->addRow(text("Logo:"), buildLogoRow(s.ownerLogo));
    layout->addLayout(form);
    auto* note =
        new QLabel(text("Shown at the top of invoice reports; the logo (a PNG, JPEG, "
                        "GIF or SVG image of at most 1 MB) above it, carried in the "
                        "file."));
    note->setWordWrap(true);
    layout->addWidget(note);
    layout->addStretch();
    return widget;
}

// The logo's file: typed, chosen or removed.
QLayout* OptionsSheet::buildLogoRow(const QString& path) {
    m_ownerLogo = new QLineEdit(path);
    m_ownerLogo->setObjectName(QStringLiteral("ownerLogo"));
    m_ownerLogo->setClearButtonEnabled(true);
    auto* browse = new QPushButton(text("&Browse..."));
    browse->setObjectName(QStringLiteral("browseLogo"));
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString chosen = m_chooseLogo ? m_chooseLogo() : QString();
        if (!chosen.isEmpty())
            m_ownerLogo->setText(chosen);
    });
    auto* row = new QHBoxLayout;
    row->addWidget(m_ownerLogo);
    row->addWidget(browse);
    return row;
}

// What an invoice carries besides its entries: its number, due date and taxes.
QWidget* OptionsSheet::buildInvoicePage(const Settings& s) {
    QVBoxLayout* layout = nullptr;
    QWidget* widget = page(QString(), layout);
    auto* numbers = new QGroupBox(text("Invoice Numbers"));
    auto* numbersForm = new QFormLayout(numbers);
    m_invoicePrefix = new QLineEdit(s.invoice.numberPrefix);
    m_invoicePrefix->setObjectName(QStringLiteral("invoicePrefix"));
    m_invoicePrefix->setMaxLength(MaxInvoicePrefixLength);
    m_nextInvoice = new QSpinBox;
    m_nextInvoice->setObjectName(QStringLiteral("nextInvoice"));
    m_nextInvoice->setRange(0, 999999999);
    m_nextInvoice->setSpecialValueText(text("None"));
    numbersForm->addRow(text("Prefix:"), m_invoicePrefix);
    numbersForm->addRow(text("Next number:"), m_nextInvoice);
    m_nextInvoiceText = new QLabel;
    m_nextInvoiceText->setObjectName(QStringLiteral("nextInvoiceText"));
    m_nextInvoiceText->setWordWrap(true);
    numbersForm->addRow(m_nextInvoiceText);
    connect(m_invoicePrefix, &QLineEdit::textChanged, this, &OptionsSheet::showNextInvoice);
    connect(m_nextInvoice, &QSpinBox::valueChanged, this, &OptionsSheet::showNextInvoice);
    showNextInvoice();
    layout->addWidget(numbers);

    auto* payment = new QGroupBox(text("Payment"));
    auto* paymentForm = new QFormLayout(payment);
    m_paymentDays = new QSpinBox;
    m_paymentDays->setObjectName(QStringLiteral("paymentDays"));
    m_paymentDays->setRange(0, 365);
    m_paymentDays->setSpecialValueText(text("None"));
    m_paymentDays->setSuffix(text(" days"));
    m_paymentDays->setValue(int(s.invoice.paymentDays));
    paymentForm->addRow(text("Payment terms:"), m_paymentDays);
    auto* due =
        new QLabel(text("An invoice is due this many days after it is written; "
                        "its due date is printed under its heading."));
    due->setWordWrap(true);
    paymentForm->addRow(due);
    layout->addWidget(payment);

    auto* taxes = new QGroupBox(text("Taxes"));
    auto* taxesForm = new QFormLayout(taxes);
    for (size_t i = 0; i < s.invoice.taxes.size(); ++i) {
        auto* name = new QLineEdit(s.invoice.taxes[i].name);
        name->setObjectName(QStringLiteral("taxName%1").arg(i + 1));
        name->setMaxLength(MaxTaxNameLength);
        name->setPlaceholderText(text("none"));
        auto* rate = new QDoubleSpinBox;
        rate->setObjectName(QStringLiteral("taxRate%1").arg(i + 1));
        rate->setRange(0, 100);
        rate->setDecimals(2);
        rate->setSuffix(text(" %"));
        rate->setValue(s.invoice.taxes[i].rate / 100.0);
        auto* row = new QHBoxLayout;
        row->addWidget(name, 1);
        row->addWidget(rate);
        taxesForm->addRow(text("Tax %1:").arg(i + 1), row);
        m_taxes.append({name, rate});
    }
    m_invoiceNote = new QLineEdit(s.invoice.note);
    m_invoiceNote->setObjectName(QStringLiteral("invoiceNote"));
    m_invoiceNote->setMaxLength(MaxInvoiceNoteLength);
    taxesForm->addRow(text("Note:"), m_invoiceNote);
    auto* taxText =
        new QLabel(text("A tax with a name is added to an invoice's net amount, "
                        "in each currency: Net, the taxes, Total due. The note "
                        "(a reverse charge, how to pay) stands below them."));
    taxText->setWordWrap(true);
    taxesForm->addRow(taxText);
    layout->addWidget(taxes);
    layout->addStretch();
    return widget;
}

void OptionsSheet::showNextInvoice() {
    const quint32 next = nextInvoiceNumber();
    m_nextInvoiceText->setText(
        next == 0 ? text("Invoices print the number their layout gives.")
                  : text("The next invoice written is number %1; an invoice whose layout has a "
                         "number of its own prints that one.")
                        .arg(m_invoicePrefix->text() + QString::number(next)));
}

void OptionsSheet::setNextInvoiceNumber(quint32 number) {
    m_nextInvoice->setValue(int(qMin<quint32>(number, quint32(m_nextInvoice->maximum()))));
}

quint32 OptionsSheet::nextInvoiceNumber() const {
    return quint32(m_nextInvoice->value());
}

QWidget* OptionsSheet::buildExportPage(const Settings& s) {
    QVBoxLayout* layout = nullptr;
    QWidget* widget = page(QString(), layout);
    auto* xml = new QGroupBox(text("XML Export"));
    auto* xmlForm = new QFormLayout(xml);
    m_encoding = choiceList(QStringLiteral("encoding"),
                            {text("(Default)"), text("UTF-8"), text("UTF-16"), text("ISO-8859-1"),
                             text("Big-5"), text("Shift-JIS")},
                            s.encoding);
    xmlForm->addRow(text("Encoding:"), m_encoding);
    layout->addWidget(xml);

    auto* csv = new QGroupBox(text("CSV Export"));
    auto* csvForm = new QFormLayout(csv);
    m_breakSub = choiceList(QStringLiteral("breakSub"),
                            {text("1 space"), text("2 spaces"), text("~`"), text("|")}, s.breakSub);
    csvForm->addRow(text("Replace line break with:"), m_breakSub);
    m_csvFormulaGuard =
        checkBox(QStringLiteral("csvFormulaGuard"),
                 text("Write ' before text starting with = + - @"), s.csvFormulaGuard);
    csvForm->addRow(m_csvFormulaGuard);
    layout->addWidget(csv);

    auto* reports = new QGroupBox(text("Reports and Summaries"));
    auto* reportsForm = new QFormLayout(reports);
    m_hoursFormat =
        choiceList(QStringLiteral("hoursFormat"),
                   {text("Decimal (1.50h)"), text("Hours and minutes (1:30)")}, int(s.hoursFormat));
    reportsForm->addRow(text("Hours:"), m_hoursFormat);
    layout->addWidget(reports);

    // Kept, read and written back, but not offered.
    m_hourSymbol =
        choiceList(QStringLiteral("hourSymbol"),
                   resourceStrings(str::HourSymbolNone, str::HourSymbolNone + 2), s.hourSymbol);
    m_hourSymbolLabel = new QLabel(text("Hour symbol:"));
    m_hourSymbolLabel->setObjectName(QStringLiteral("hourSymbolLabel"));
    auto* hourRow = new QHBoxLayout;
    hourRow->addWidget(m_hourSymbolLabel);
    hourRow->addWidget(m_hourSymbol);
    layout->addLayout(hourRow);
    for (QWidget* w :
         {static_cast<QWidget*>(m_hourSymbolLabel), static_cast<QWidget*>(m_hourSymbol)}) {
        w->setVisible(false);
        w->setEnabled(false);
    }
    layout->addStretch();
    return widget;
}

QWidget* OptionsSheet::buildCustomFieldsPage(const QStringList& labels, const QStringList& values,
                                             QList<QLineEdit*>& edits, const QString& prefix) {
    QVBoxLayout* layout = nullptr;
    QWidget* widget = page(QString(), layout);
    for (int i = 0; i < labels.size(); ++i) {
        layout->addWidget(new QLabel(labels[i]));
        auto* edit = new QLineEdit(values.value(i));
        edit->setObjectName(QStringLiteral("%1%2").arg(prefix).arg(i + 1));
        edit->setMaxLength(MaxCustomFieldLength);
        layout->addWidget(edit);
        edits.append(edit);
    }
    layout->addStretch();
    return widget;
}

QString OptionsSheet::currency() const {
    return m_currency->currentText().trimmed().left(MaxCurrencyLength);
}

bool OptionsSheet::softKeysChanged() const {
    return m_softKeys->isChecked() != m_softKeysAtOpening;
}

void OptionsSheet::writeTo(Settings& s) const {
    s.setFlag(WeekStartsMonday, m_weekStart->currentIndex() == 1);
    s.fontSize = chosen(m_fontSize, s.fontSize);
    s.setFlag(BoldListFont, m_bold->isChecked());
    s.setFlag(TapPreviews, m_itemTap->currentIndex() == 1);
    s.setFlag(ShowWeekNumbers, m_weekNumbers->isChecked());
    s.setFlag(SoftKeyMenus, m_softKeys->isChecked());

    s.setFlag(PreciseCalculation, m_precise->isChecked());
    s.timeInterval = chosen(m_interval, s.timeInterval);
    s.askClose = m_askClose->isChecked();
    s.idleMinutes = quint16(m_idleLimit->value());
    s.longTimerHours = quint16(m_longTimer->value());

    s.setFlag(NewEntriesBillable, m_billable->isChecked());
    s.defaultCurrency = currency();
    s.setFlag(DurationGranularity, m_granularity->isChecked());
    if (s.hasFlag(DurationGranularity)) {
        const int index = m_minTime->currentIndex();
        // Nothing chosen (a stored value that is not one of the choices):
        // the usual quarter hour rather than no granularity at all.
        s.minTime = index >= 0 ? quint16(Settings::MinTimeChoices[index]) : quint16(15);
    }

    s.encoding = chosen(m_encoding, s.encoding);
    s.breakSub = chosen(m_breakSub, s.breakSub);
    s.csvFormulaGuard = m_csvFormulaGuard->isChecked();
    s.hourSymbol = chosen(m_hourSymbol, s.hourSymbol);
    s.hoursFormat = chosen(m_hoursFormat, s.hoursFormat);
    s.timerStripPlace = chosen(m_timerStripPlace, s.timerStripPlace);

    s.custom1 = m_customFields[0]->text();
    s.custom2 = m_customFields[1]->text();
    s.custom3 = m_customFields[2]->text();
    s.expenseCustom1 = m_expenseFields[0]->text();
    s.expenseCustom2 = m_expenseFields[1]->text();
    s.owner = {m_ownerName->text(), m_ownerCompany->text(), m_ownerAddress->toPlainText().left(255),
               m_ownerLine1->text(), m_ownerLine2->text()};
    s.ownerLogo = m_ownerLogo->text().trimmed();
    s.invoice.numberPrefix = m_invoicePrefix->text();
    s.invoice.paymentDays = quint32(m_paymentDays->value());
    for (qsizetype i = 0; i < m_taxes.size(); ++i)
        s.invoice.taxes[size_t(i)] = {m_taxes[i].first->text().trimmed(),
                                      quint32(qRound(m_taxes[i].second->value() * 100))};
    s.invoice.note = m_invoiceNote->text();
}

OptionsOutcome runOptionsSheet(Context& context, QWidget* owner) {
    Settings& settings = context.settings;
    const QStringList currencies = context.store.lists().texts(ListKind::Currency);
    platform::Registry& registry = context.registry;
    OptionsSheet sheet(settings, currencies, registry, owner);
    // Read now, not at the start: invoices written since have moved it on.
    const quint32 nextInvoice = invoicenumbers::next(registry);
    sheet.setNextInvoiceNumber(nextInvoice);
    sheet.setLogoChooser([&context, &sheet] {
        return context.ui.openFile(
            text("Choose Logo"), text("Images|*.png;*.jpg;*.jpeg;*.gif;*.svg|"), QString(), &sheet);
    });
    OptionsOutcome outcome;
    if (sheet.exec() != QDialog::Accepted)
        return outcome;
    outcome.accepted = true;
    outcome.softKeysChanged = sheet.softKeysChanged();
    sheet.writeTo(settings);
    // Only a number the user changed is written, so that invoices written
    // while the sheet was open keep theirs.
    if (sheet.nextInvoiceNumber() != nextInvoice)
        invoicenumbers::setNext(registry, sheet.nextInvoiceNumber());
    const QString store = sheet.storePage()->chosenAddress();
    if (!storechoice::givenForThisRun() && store != storechoice::kept(registry))
        outcome.storeChanged = storechoice::keep(registry, store);
    // A new currency joins the drop list; one already there is left alone.
    const QString currency = sheet.currency();
    if (!currency.isEmpty() && !currencies.contains(currency))
        context.store.lists().add(ListKind::Currency, currency);
    return outcome;
}

}  // namespace tempolatch
