#include "expenses/ExpenseEditor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "editing/EntryValues.h"
#include "editing/PaidDateDialog.h"
#include "editing/SaveConflict.h"
#include "expenses/ExpenseActions.h"
#include "platform/Clock.h"
#include "platform/DayChange.h"
#include "platform/Locale.h"
#include "platform/StringTable.h"
#include "platform/Ui.h"
#include "settings/Settings.h"
#include "store/Client.h"
#include "store/ClientNames.h"
#include "store/ClientStructure.h"
#include "store/Lists.h"
#include "store/Project.h"
#include "store/RecordStore.h"
#include "store/StoreFailure.h"
#include "widgets/DatePicker.h"
#include "widgets/DropLists.h"
#include "widgets/HelpWindow.h"
#include "widgets/WindowPlace.h"

namespace tempolatch {

namespace {

// The longest text the rate and amount boxes give the expense.
constexpr int kAmountTextLength = 15;

QComboBox* editableList(QWidget* parent, const char* name, int maxLength,
                        const QStringList& items = {}) {
    return droplists::createEditable(parent, QString::fromLatin1(name), maxLength, items);
}

using droplists::refill;

QSpinBox* odometerBox(QWidget* parent, const char* name, int value) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(0, expenseactions::MaxOdometer);
    box->setValue(value);
    return box;
}

}  // namespace

ExpenseEditor::ExpenseEditor(Context& context, const ExpenseEntry& expense, int firstPage,
                             QWidget* parent)
    : QDialog(parent), m_context(context), m_expense(expense) {
    setObjectName(QStringLiteral("expenseEditor"));
    const QString kind = expenseTypeName(m_expense.type);
    setWindowTitle(m_expense.recordId != 0 ? QStringLiteral("Edit ") + kind
                                           : QStringLiteral("New ") + kind);
    // An expense without a date (damaged data) would show as the year 1601.
    if (m_expense.date.isNull())
        m_expense.date = expenseactions::fresh(m_expense.type, QString()).date;
    RecordStore& store = m_context.store;
    m_asRead = expenseactions::read(store, m_expense.recordId);
    if (store.isOpen() && !m_expense.client.isEmpty()) {
        const quint32 id = ClientStructure(store).clientIdOf(m_expense.client);
        m_clientId = id == NoClientId ? 0 : id;
    }

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("pages"));
    m_tabs->addTab(createGeneralPage(), QStringLiteral("General"));
    m_tabs->addTab(createExpensePage(), QStringLiteral("Expense"));
    m_tabs->addTab(createNotePage(), QStringLiteral("Note"));
    m_tabs->addTab(createCustomPage(), QStringLiteral("Custom"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &ExpenseEditor::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ExpenseEditor::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);
    resize(440, 460);
    keepWindowPlace(this, m_context.registry, QStringLiteral("ExpenseEditor"));
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this,
            [] { HelpWindow::showTopic(QStringLiteral("addexpense")); });

    m_current = qBound(0, firstPage, int(CustomPage));
    m_tabs->setCurrentIndex(m_current);
    if (m_current == ExpensePage)
        enterExpense();
    connect(m_tabs, &QTabWidget::currentChanged, this, &ExpenseEditor::pageChanged);
}

QWidget* ExpenseEditor::createGeneralPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("generalPage"));
    RecordStore& store = m_context.store;
    Lists lists = store.lists();
    m_date = new DateBox(page);
    m_date->setObjectName(QStringLiteral("date"));
    m_date->setDisplayFormat(platform::Locale::longDateFormat());
    useFramedCalendar(m_date);
    if (const auto when = platform::toSystemTime(m_expense.date))
        m_date->setDate(when->date());
    m_description =
        editableList(page, "description", MaxNameLength, lists.texts(ListKind::Description));
    m_client = editableList(page, "client", MaxNameLength);
    if (store.isOpen())
        for (const Client& client : ClientStructure(store).clientList())
            m_client->addItem(client.name, client.clientId);
    m_client->setCurrentIndex(-1);
    m_project = editableList(page, "project", MaxNameLength);
    m_category = editableList(page, "category", MaxNameLength, lists.texts(ListKind::Category));
    auto* form = new QFormLayout(page);
    form->addRow(QStringLiteral("Date:"), m_date);
    form->addRow(QStringLiteral("Description:"), m_description);
    form->addRow(QStringLiteral("Client:"), m_client);
    form->addRow(QStringLiteral("Project:"), m_project);
    form->addRow(QStringLiteral("Category:"), m_category);
    // Only general expenses keep a category.
    m_category->setEnabled(!m_expense.isMileage());

    m_description->setEditText(m_expense.description);
    m_client->setEditText(m_expense.client);
    clientChanged();
    m_project->setEditText(m_expense.project);
    m_category->setEditText(m_expense.isMileage() ? QString() : m_expense.category);
    connect(m_client, &QComboBox::activated, this, [this] { clientChanged(); });
    connect(m_client->lineEdit(), &QLineEdit::editingFinished, this, [this] { clientChanged(); });
    return page;
}

QWidget* ExpenseEditor::createExpensePage() {
    const bool mileage = m_expense.isMileage();
    auto* page = new QWidget(this);
    page->setObjectName(mileage ? QStringLiteral("mileagePage")
                                : QStringLiteral("generalExpensePage"));
    m_status = new QComboBox(page);
    m_status->setObjectName(QStringLiteral("status"));
    for (int s = 0; s < 4; ++s)
        m_status->addItem(resourceString(str::StatusNames + s));
    m_status->setCurrentIndex(qBound(0, int(m_expense.status), 3));
    m_paidDate = new QPushButton(QStringLiteral("Paid Date..."), page);
    m_paidDate->setObjectName(QStringLiteral("paidDateButton"));
    m_billTo = editableList(page, "billTo", 63);
    m_billTo->setEditText(m_expense.billTo);
    m_currency =
        editableList(page, "currency", 16, m_context.store.lists().texts(ListKind::Currency));
    m_currency->setEditText(m_expense.currency);
    m_amount = new QLineEdit(page);
    m_amount->setObjectName(mileage ? QStringLiteral("rate") : QStringLiteral("amount"));
    m_amount->setMaxLength(16);
    m_receipt = new QCheckBox(QStringLiteral("Receipt"), page);
    m_receipt->setObjectName(QStringLiteral("receipt"));
    m_receipt->setChecked(m_expense.receipt);

    auto* grid = new QGridLayout(page);
    int row = 0;
    grid->addWidget(new QLabel(QStringLiteral("Status:"), page), row, 0);
    grid->addWidget(m_status, row, 1);
    grid->addWidget(m_paidDate, row++, 2);
    grid->addWidget(
        new QLabel(mileage ? QStringLiteral("Bill to:") : QStringLiteral("Bill To:"), page), row,
        0);
    grid->addWidget(m_billTo, row++, 1, 1, 2);
    if (mileage) {
        m_odometerStart = odometerBox(page, "odometerStart", m_expense.startOdometer);
        m_odometerEnd =
            odometerBox(page, "odometerEnd",
                        expenseactions::endOf(m_expense.startOdometer, m_expense.distance));
        m_distance = odometerBox(page, "distance", m_expense.distance);
        const std::pair<const char*, QSpinBox*> boxes[] = {{"Odometer start:", m_odometerStart},
                                                           {"Odometer end:", m_odometerEnd},
                                                           {"Distance:", m_distance}};
        for (const auto& [label, box] : boxes) {
            grid->addWidget(new QLabel(QString::fromLatin1(label), page), row, 0);
            grid->addWidget(box, row++, 1);
        }
        connect(m_odometerEnd, &QSpinBox::editingFinished, this, &ExpenseEditor::odometerEndLeft);
        connect(m_distance, &QSpinBox::editingFinished, this, &ExpenseEditor::distanceLeft);
    }
    grid->addWidget(new QLabel(mileage ? QStringLiteral("Rate:") : QStringLiteral("Amount:"), page),
                    row, 0);
    auto* amountRow = new QHBoxLayout;
    amountRow->addWidget(m_currency);
    amountRow->addWidget(m_amount, 1);
    grid->addLayout(amountRow, row++, 1, 1, 2);
    if (mileage) {
        m_total = new QLineEdit(page);
        m_total->setObjectName(QStringLiteral("total"));
        m_total->setReadOnly(true);
        m_calculate = new QPushButton(QStringLiteral("Calculate"), page);
        m_calculate->setObjectName(QStringLiteral("calculate"));
        m_calculate->setProperty("commandId", 40082);
        grid->addWidget(new QLabel(QStringLiteral("Total:"), page), row, 0);
        grid->addWidget(m_total, row, 1);
        grid->addWidget(m_calculate, row++, 2);
        connect(m_calculate, &QPushButton::clicked, this, &ExpenseEditor::calculate);
    }
    grid->addWidget(m_receipt, row++, 0, 1, 3);
    grid->setRowStretch(row, 1);

    connect(m_status, &QComboBox::currentIndexChanged, this, [this] { updateEnabling(); });
    connect(m_paidDate, &QPushButton::clicked, this, &ExpenseEditor::choosePaidDate);
    updateEnabling();
    return page;
}

QWidget* ExpenseEditor::createNotePage() {
    m_note = new QPlainTextEdit(this);
    m_note->setObjectName(QStringLiteral("note"));
    m_note->setPlainText(m_expense.note);
    return m_note;
}

QWidget* ExpenseEditor::createCustomPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("customPage"));
    Lists lists = m_context.store.lists();
    m_custom1 = editableList(page, "custom1", 63, lists.texts(ListKind::Custom1));
    m_custom1->setEditText(m_expense.custom1);
    m_custom2 = editableList(page, "custom2", 63, lists.texts(ListKind::Custom2));
    m_custom2->setEditText(m_expense.custom2);
    auto* form = new QFormLayout(page);
    const Settings& settings = m_context.settings;
    form->addRow(settings.expenseCustom1 + QLatin1Char(':'), m_custom1);
    form->addRow(settings.expenseCustom2 + QLatin1Char(':'), m_custom2);
    return page;
}

void ExpenseEditor::clientChanged() {
    // Names compare exactly: a client typed in another case is a new client.
    const int index =
        m_client->findText(m_client->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
    m_clientId = index >= 0 ? m_client->itemData(index).toUInt() : 0;
    RecordStore& store = m_context.store;
    if (store.isOpen())
        refill(m_project, ClientStructure(store).projectNames(m_clientId));
}

EntryStatus ExpenseEditor::selectedStatus() const {
    return EntryStatus(qBound(0, m_status->currentIndex(), 3));
}

void ExpenseEditor::updateEnabling() {
    const EntryStatus status = selectedStatus();
    if (m_expense.isMileage()) {
        const bool billable = status != EntryStatus::NonBillable;
        for (QWidget* w : std::initializer_list<QWidget*>{m_amount, m_currency, m_billTo, m_receipt,
                                                          m_calculate})
            w->setEnabled(billable);
    }
    m_paidDate->setEnabled(status == EntryStatus::Paid);
}

void ExpenseEditor::choosePaidDate() {
    PaidDateDialog dialog(m_expense.paidDate, this);
    if (dialog.exec() == QDialog::Accepted)
        m_expense.paidDate = dialog.paidDate();
}

void ExpenseEditor::calculate() {
    m_total->setText(expenseactions::mileageTotalText(m_currency->currentText(), m_amount->text(),
                                                      m_distance->value()));
}

void ExpenseEditor::odometerEndLeft() {
    m_distance->setValue(
        expenseactions::distanceOf(m_odometerStart->value(), m_odometerEnd->value()));
    // An end before the start, or past the boxes' range, is put right.
    m_odometerEnd->setValue(expenseactions::endOf(m_odometerStart->value(), m_distance->value()));
}

void ExpenseEditor::distanceLeft() {
    m_odometerEnd->setValue(expenseactions::endOf(m_odometerStart->value(), m_distance->value()));
}

void ExpenseEditor::pageChanged(int index) {
    if (m_switching || index == m_current)
        return;
    if (m_current == GeneralPage && !leaveGeneral()) {
        m_switching = true;
        m_tabs->setCurrentIndex(GeneralPage);
        m_switching = false;
        return;
    }
    if (m_current == ExpensePage)
        leaveExpense();
    m_current = index;
    if (index == ExpensePage)
        enterExpense();
}

bool ExpenseEditor::leaveGeneral() {
    if (!m_client->currentText().isEmpty()) {
        clientChanged();
        return true;
    }
    if (m_tabs->currentIndex() != GeneralPage) {
        m_switching = true;
        m_tabs->setCurrentIndex(GeneralPage);
        m_switching = false;
        m_current = GeneralPage;
    }
    m_context.ui.message(resourceString(str::ClientRequired), platform::MessageIcon::Warning, this);
    m_client->setFocus();
    return false;
}

void ExpenseEditor::enterExpense() {
    m_amountShown = true;
    m_amount->setText(m_expense.amount > 0 ? QString::asprintf("%.2f", m_expense.amount / 100.0)
                                           : QString());
    RecordStore& store = m_context.store;
    refill(m_billTo, store.isOpen() && m_clientId != 0
                         ? ClientStructure(store).contactNames(m_clientId)
                         : QStringList());
}

void ExpenseEditor::leaveExpense() {
    m_expense.amount = entryvalues::hundredthsOf(
        entryvalues::leadingNumber(m_amount->text().left(kAmountTextLength)));
}

void ExpenseEditor::applyPages() {
    const platform::SystemTime when = platform::onDay(
        platform::toSystemTime(m_expense.date).value_or(platform::SystemTime{}), m_date->date());
    if (const auto date = platform::toFileTime(when))
        m_expense.date = *date;
    m_expense.description = m_description->currentText();
    m_expense.client = m_client->currentText();
    m_expense.project = m_project->currentText();
    m_expense.category = m_expense.isMileage() ? QString() : m_category->currentText();

    m_expense.status = selectedStatus();
    // A Paid expense without a paid date was paid today.
    if (m_expense.status == EntryStatus::Paid && m_expense.paidDate.isNull())
        m_expense.paidDate = platform::Clock::nowFileTime();
    m_expense.billTo = m_billTo->currentText().left(63);
    m_expense.currency = m_currency->currentText().left(16);
    leaveExpense();
    m_expense.receipt = m_receipt->isChecked();
    if (m_expense.isMileage()) {
        m_expense.startOdometer = m_odometerStart->value();
        m_expense.distance = m_distance->value();
    }
    m_expense.note = m_note->toPlainText();
    m_expense.custom1 = m_custom1->currentText().left(63);
    m_expense.custom2 = m_custom2->currentText().left(63);
}

void ExpenseEditor::accept() {
    if (!leaveGeneral())
        return;
    // The amount box holds what the user typed once its page was shown;
    // before that it is filled from the expense.
    if (!m_amountShown)
        enterExpense();
    applyPages();
    // The store keeps amounts and rates as unsigned numbers: a negative one
    // would come back as nothing.
    if (!m_expense.isStorable()) {
        m_switching = true;
        m_tabs->setCurrentIndex(ExpensePage);
        m_switching = false;
        m_current = ExpensePage;
        m_context.ui.message(
            resourceString(m_expense.isMileage() ? str::NegativeRate : str::NegativeAmount),
            platform::MessageIcon::Warning, this);
        m_amount->setFocus();
        return;
    }
    ExpenseSaver saver(m_context.store);
    const SaveTry saved = saveSettlingConflict(
        m_context.ui, QStringLiteral("expense"), this,
        [&](bool overwrite) {
            const WriteResult result = saver.save(m_expense, overwrite ? std::nullopt : m_asRead);
            return SaveTry{result, saver.error()};
        },
        m_reload);
    if (m_reload) {
        QDialog::reject();
        return;
    }
    // Otherwise the editor stays open with what the user typed.
    if (saved.result != WriteResult::Written && !saved.changedElsewhere())
        m_context.ui.message(storeErrorText(saved.error), platform::MessageIcon::Stop, this);
    if (saved.result == WriteResult::Written)
        QDialog::accept();
}

std::optional<quint32> ExpenseEditor::edit(Context& context, QWidget* parent,
                                           const ExpenseEntry& expense, int firstPage) {
    ExpenseEntry from = expense;
    for (;;) {
        ExpenseEditor editor(context, from, firstPage, parent);
        const int ended = editor.exec();
        const auto stored = editor.reloadWanted()
                                ? expenseactions::read(context.store, from.recordId)
                                : std::nullopt;
        if (stored) {
            // Opened again on the expense as it is stored now, at the same page.
            from = *stored;
            firstPage = editor.m_current;
            continue;
        }
        if (ended != QDialog::Accepted)
            return std::nullopt;
        return editor.expense().recordId;
    }
}

}  // namespace tempolatch
