#include "reports/HtmlReport.h"

#include <algorithm>
#include <utility>

#include "platform/Clock.h"
#include "platform/Locale.h"
#include "platform/StringTable.h"
#include "records/EntryCriteria.h"
#include "records/EntryFilter.h"
#include "records/ExpenseCriteria.h"
#include "records/MoneyTotals.h"
#include "reports/ExpenseReport.h"
#include "reports/ExportValues.h"
#include "reports/ReportPage.h"
#include "reports/Summaries.h"
#include "settings/Settings.h"
#include "store/ExpenseEntry.h"
#include "store/TimeEntries.h"
#include "store/TimeEntry.h"
#include "views/ViewIds.h"

namespace tempolatch {

using platform::Locale;
using Field = ReportLayout::Field;

namespace {

constexpr int kInvoiceNumber = 107;

// Times as the locale writes them (the locale keeps the texts it has
// made).
QString timeOf(platform::FileTime time) {
    const auto st = platform::toSystemTime(time);
    return st ? Locale::timeWithoutSeconds(*st) : QString();
}

// How a page writes amounts and hours.
struct CellFormat {
    bool precise = false;
    HoursFormat hours = HoursFormat::Decimal;
};

QString cellText(const TimeEntry& e, int field, const CellFormat& format) {
    switch (field) {
        case Field::EntryDate:
            return shortDateText(e.date);
        case Field::Client:
            return e.client;
        case Field::Project:
            return e.project;
        case Field::Phase:
            return e.phase;
        case Field::Task:
            return e.task;
        case Field::Duration:
            return hoursText(e.duration, format.hours);
        case Field::Currency:
            return e.currency;
        case Field::Status:
            return resourceString(str::StatusNames + int(e.status));
        case Field::Rate:
            return hundredthsText(e.rate);
        case Field::StartTime:
            return e.hasStartTime() ? timeOf(e.date) : QString();
        case Field::BillTo:
            return e.billTo;
        case Field::Custom1:
            return e.custom1;
        case Field::Custom2:
            return e.custom2;
        case Field::Custom3:
            return e.custom3;
        case Field::RateType:
            return resourceString(str::RateTypeNames + int(e.rateType));
        case Field::Amount:
            // Non Billable work has no amount, as in the CSV file: the
            // column then adds up to its total.
            return e.status == EntryStatus::NonBillable ? QString()
                                                        : moneyText(e.amount(format.precise));
        case Field::Note:
            return entryNoteText(e);
        case Field::EndTime:
            return e.hasStartTime() ? timeOf(e.endTime()) : QString();
        default:
            return QString();
    }
}

// A tax on an amount in cents at a rate in hundredths of a percent, in
// cents rounded half away from zero as every amount shown.
qint64 taxCents(qint64 net, quint32 rate) {
    const qint64 product = net * qint64(rate);
    const qint64 whole = (qAbs(product) + 5000) / 10000;
    return product < 0 ? -whole : whole;
}

// "VAT 20%", "GST 7.5%".
QString taxLabel(const TaxLine& tax) {
    QString percent = QString::number(tax.rate / 100.0, 'f', 2);
    while (percent.endsWith(u'0'))
        percent.chop(1);
    if (percent.endsWith(u'.'))
        percent.chop(1);
    return tax.name + u' ' + percent + u'%';
}

// The rows of time entries, shared by the three writers.
class TimeReport : public HtmlReport {
public:
    TimeReport(const ReportLayout& layout, const Settings& settings, bool userCaptions)
        : m_layout(layout),
          m_settings(settings),
          m_columns(layout.timeColumns()),
          m_precise(settings.hasFlag(PreciseCalculation)),
          m_format{m_precise, settings.hoursFormat},
          m_userCaptions(userCaptions) {}

    bool write(RecordStore& db, const EntryFilter& criteria, const QString& charset,
               const PageStream::Sink& sink) override {
        m_totals = StatusTotals();
        m_page = ReportPage(sink);
        m_page.frame(title(), charset);
        build(db, criteria);
        return m_page.finish();
    }

protected:
    virtual void build(RecordStore& db, const EntryFilter& criteria) = 0;
    virtual QString title() const { return m_layout.title(); }

    QStringList captions() const {
        QStringList out;
        for (const int field : m_columns) {
            if (m_userCaptions && field == Field::Custom1)
                out.append(m_settings.custom1);
            else if (m_userCaptions && field == Field::Custom2)
                out.append(m_settings.custom2);
            else if (m_userCaptions && field == Field::Custom3)
                out.append(m_settings.custom3);
            else
                out.append(resourceString(str::ColumnTitles + field));
        }
        return out;
    }
    void beginTable() { m_page.beginTable(captions()); }
    void addEntryRow(const TimeEntry& e) {
        QList<ReportPage::Cell> cells;
        cells.reserve(m_columns.size());
        for (const int field : m_columns)
            cells.append({cellText(e, field, m_format), field == Field::Duration ||
                                                            field == Field::Rate ||
                                                            field == Field::Amount});
        m_page.addRow(cells);
        m_totals.add(e, m_precise);
    }
    void addTotalRows(const StatusTotals& totals) {
        m_page.addTotalRows(m_columns, Field::Amount, totals.amount, [&](int field) {
            return field == Field::Duration ? hoursText(totals.totalHours(), m_format.hours)
                                            : QString();
        });
    }

    // The totals the layout shows, then the report date. An amount total
    // has a line for each currency.
    void footer() {
        m_page.beginParagraph();
        // In the order of the layout's flags: each total is hours or amounts.
        const HoursTotal hours[] = {m_totals.billableHours,   m_totals.billedHours, {}, {}, {},
                                    m_totals.nonBillableHours};
        const MoneyTotals* amounts[] = {
            nullptr, nullptr, &m_totals.unpaidAmount, &m_totals.billedAmount, &m_totals.paidAmount,
            nullptr};
        for (int i = 0; i < 6; ++i) {
            if (!m_layout.shows(ReportLayout::TotalFlags[size_t(i)]))
                continue;
            const QString caption =
                resourceString(ReportLayout::TotalCaptions + i) + QStringLiteral(": ");
            if (!amounts[i]) {
                m_page.addSpan(caption + hoursText(hours[i], m_format.hours), true);
                continue;
            }
            for (const QString& currency : m_totals.amount.shownCurrencies())
                m_page.addSpan(caption + amounts[i]->text(currency), true);
        }
        if (m_layout.shows(ReportLayout::ReportDate))
            m_page.addReportDate();
        m_page.endParagraph();
    }

    ReportLayout m_layout;
    const Settings& m_settings;
    QList<int> m_columns;
    bool m_precise;
    CellFormat m_format;
    bool m_userCaptions;
    ReportPage m_page;
    StatusTotals m_totals;  // what the walk adds up
};

class TabularReport : public TimeReport {
public:
    TabularReport(const ReportLayout& layout, const Settings& settings)
        : TimeReport(layout, settings, true) {}

protected:
    void build(RecordStore& db, const EntryFilter& criteria) override {
        m_page.heading(m_layout, criteria);
        beginTable();
        bool any = false;
        forEachChosenEntry(db, criteria, [&](const TimeEntry& e) {
            addEntryRow(e);
            any = true;
            return true;
        });
        if (any)
            addTotalRows(m_totals);
        m_page.endTable();
        footer();
    }
};

// How the entries of a Group By report fall into groups: by the text, the
// day or the number of the grouping field.
class Grouping {
public:
    Grouping(quint32 property, const CellFormat& format) : m_property(property), m_format(format) {}

    struct Key {
        QString text;
        qint64 number = 0;
    };

    bool byDate() const { return m_property == prop::EntryDate; }
    bool byText() const {
        switch (m_property) {
            case prop::ClientName:
            case prop::Project:
            case prop::Phase:
            case prop::TaskName:
            case prop::Currency:
            case prop::BillTo:
            case prop::Custom1:
            case prop::Custom2:
            case prop::Custom3:
                return true;
            default:
                return false;
        }
    }

    Key key(const TimeEntry& e) const {
        switch (m_property) {
            case prop::ClientName:
                return {e.client};
            case prop::Project:
                return {e.project};
            case prop::Phase:
                return {e.phase};
            case prop::TaskName:
                return {e.task};
            case prop::Currency:
                return {e.currency};
            case prop::BillTo:
                return {e.billTo};
            case prop::Custom1:
                return {e.custom1};
            case prop::Custom2:
                return {e.custom2};
            case prop::Custom3:
                return {e.custom3};
            case prop::EntryDate:
                return {{}, qint64(e.date.ticks / platform::FileTime::TicksPerDay)};
            case prop::Duration:
                return {{}, e.duration};
            case prop::Status:
            case prop::LegacyBillable:
                return {{}, qint64(e.status)};
            case prop::LegacyPaid:  // offered as "Rate"
                return {{}, e.rate};
            case prop::LegacyStartTime:
                return {{},
                        e.hasStartTime() ? qint64(e.date.ticks % platform::FileTime::TicksPerDay)
                                         : qint64(-1)};
            case prop::RateType:
                return {{}, qint64(e.rateType)};
            default:
                return {};  // one group
        }
    }

    int compare(const Key& a, const Key& b) const {
        if (byText())
            return Locale::compare(a.text, b.text);
        return a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
    }

    QString title(const TimeEntry& e) const {
        switch (m_property) {
            case prop::EntryDate:
                return cellText(e, Field::EntryDate, m_format);
            case prop::Duration:
                return cellText(e, Field::Duration, m_format);
            case prop::Status:
            case prop::LegacyBillable:
                return cellText(e, Field::Status, m_format);
            case prop::LegacyPaid:
                return cellText(e, Field::Rate, m_format);
            case prop::LegacyStartTime:
                return cellText(e, Field::StartTime, m_format);
            case prop::RateType:
                return cellText(e, Field::RateType, m_format);
            default:
                return key(e).text;
        }
    }

private:
    quint32 m_property;
    CellFormat m_format;
};

class GroupByReport : public TimeReport {
public:
    GroupByReport(const ReportLayout& layout, const Settings& settings)
        : TimeReport(layout, settings, true) {}

protected:
    void build(RecordStore& db, const EntryFilter& criteria) override {
        m_page.heading(m_layout, criteria);
        const Grouping grouping(m_layout.groupBy(), m_format);
        // Only the record ids and the group values are held; each entry is
        // read again for its row.
        struct Item {
            quint32 id;
            Grouping::Key key;
        };
        std::vector<Item> items;
        forEachChosenEntry(db, criteria, [&](const TimeEntry& e) {
            items.push_back({e.recordId, grouping.key(e)});
            return true;
        });
        if (!grouping.byDate())
            std::stable_sort(items.begin(), items.end(), [&](const Item& a, const Item& b) {
                return grouping.compare(a.key, b.key) < 0;
            });

        TimeEntries entries(db);
        const bool groupTotals = m_layout.shows(ReportLayout::GroupTotalHours);
        bool open = false;
        Grouping::Key current;
        StatusTotals group;
        for (const Item& item : items) {
            const auto entry = entries.find(item.id);
            if (!entry)
                continue;
            if (!open || grouping.compare(item.key, current) != 0) {
                if (open) {
                    if (groupTotals)
                        addTotalRows(group);
                    m_page.endTable();
                }
                group = StatusTotals();
                current = item.key;
                if (m_layout.shows(ReportLayout::GroupTitle))
                    m_page.addChild(QStringLiteral("h3"), grouping.title(*entry));
                else
                    m_page.addChild(QStringLiteral("hr"));
                beginTable();
                open = true;
            }
            addEntryRow(*entry);
            group.add(*entry, m_precise);
        }
        if (open) {
            if (groupTotals)
                addTotalRows(group);
            m_page.endTable();
        }
        footer();
    }
};

class InvoiceReport : public TimeReport {
public:
    InvoiceReport(const ReportLayout& layout, const Settings& settings,
                  const InvoiceDetails& invoice)
        : TimeReport(layout, settings, false), m_invoice(invoice) {}

protected:
    // The layout has no title of its own to offer (its dialog asks none).
    QString title() const override {
        return m_layout.title().isEmpty() ? QStringLiteral("Invoice") : m_layout.title();
    }

    void build(RecordStore& db, const EntryFilter& criteria) override {
        const QString number =
            m_invoice.number.isEmpty() ? m_layout.invoiceNumber() : m_invoice.number;
        const bool owner = ownerBlockShown(m_settings);
        if (owner) {
            m_page.addLogo(m_settings.ownerLogo);
            m_page.addOwnerBlock(m_settings.owner, filledText(kInvoiceNumber, number));
        }
        m_page.addChild(QStringLiteral("h1"), title());
        // The number and the issue date stand in the owner block when it is
        // shown; the due date and the period billed under the heading.
        QStringList facts;
        if (!owner)
            facts << filledText(kInvoiceNumber, number) << issueDateText();
        if (m_settings.invoice.paymentDays > 0) {
            const QDate due = platform::Clock::now().date().addDays(m_settings.invoice.paymentDays);
            facts << QStringLiteral("Due Date: ") +
                         Locale::shortDate(platform::SystemTime::fromDateTime(due.startOfDay()));
        }
        if (criteria.hasDateRange())
            facts << QStringLiteral("Period: %1 - %2")
                         .arg(Locale::shortDate(criteria.startDate),
                              Locale::shortDate(criteria.endDate));
        if (!facts.isEmpty()) {
            m_page.beginParagraph();
            for (qsizetype i = 0; i < facts.size(); ++i)
                m_page.addSpan(facts[i], i + 1 < facts.size());
            m_page.endParagraph();
        }
        m_items = InvoiceItems();
        bool billTo = false;
        const auto addBillTo = [&](const QString& name, const QString& client) {
            if (std::exchange(billTo, true))
                return;
            m_page.beginParagraph();
            m_page.addSpan(name, true);
            m_page.addSpan(client, true);
            m_page.endParagraph();
        };
        bool any = false;
        forEachChosenEntry(db, criteria, [&](const TimeEntry& e) {
            if (!any) {
                addBillTo(e.billTo, e.client);
                beginTable();
                any = true;
            }
            addEntryRow(e);
            if (e.status == EntryStatus::Billable)
                m_items.entries.append(e.recordId);
            return true;
        });
        if (any) {
            addTotalRows(m_totals);
            m_page.endTable();
        }
        MoneyTotals expenses;
        if (m_invoice.withExpenses)
            expenses = addExpenses(db, criteria, addBillTo);
        if (any || !expenses.isEmpty())
            addAmountsDue(any ? m_totals.amount : MoneyTotals(), expenses);
        if (!m_settings.invoice.note.isEmpty()) {
            m_page.beginParagraph();
            m_page.addSpan(m_settings.invoice.note, false);
            m_page.endParagraph();
        }
        m_page.beginParagraph();
        if (m_layout.shows(ReportLayout::ReportDate))
            m_page.addReportDate();
        m_page.endParagraph();
    }

    InvoiceItems billableItems() const override { return m_items; }

private:
    // The billable expenses the entry criteria take in, as a table of their
    // own with a total row per currency; their totals.
    MoneyTotals addExpenses(RecordStore& db, const EntryFilter& criteria,
                            const std::function<void(const QString&, const QString&)>& addBillTo) {
        using ExpenseField = ReportLayout::ExpenseField;
        static const QList<int> columns = {ExpenseField::ExpenseDate, ExpenseField::Description,
                                           ExpenseField::Category, ExpenseField::ExpenseCurrency,
                                           ExpenseField::ExpenseAmount};
        MoneyTotals amounts;
        forEachChosenExpense(db, invoiceExpenseCriteria(criteria), [&](const ExpenseEntry& e) {
            if (amounts.isEmpty()) {
                addBillTo(e.billTo, e.client);
                m_page.addChild(QStringLiteral("h3"), QStringLiteral("Expenses"));
                QStringList captions;
                for (const int field : columns)
                    captions.append(ExpenseReport::caption(field, m_settings));
                m_page.beginTable(captions);
            }
            QList<ReportPage::Cell> cells;
            for (const int field : columns)
                cells.append({expenseCellText(e, field), field == ExpenseField::ExpenseAmount});
            m_page.addRow(cells);
            amounts.add(e.currency, e.totalAmount());
            m_items.expenses.append(e.recordId);
            return true;
        });
        if (!amounts.isEmpty()) {
            m_page.addTotalRows(columns, ExpenseField::ExpenseAmount, amounts,
                                [](int) { return QString(); });
            m_page.endTable();
        }
        return amounts;
    }

    // For every currency, each figure in cents as printed: the time and
    // the expenses when both are billed, the Net and each tax when there
    // are taxes, and the Total due as the sum of the figures above it.
    // With neither taxes nor expenses the total row says it all.
    void addAmountsDue(const MoneyTotals& time, const MoneyTotals& expenses) {
        QList<TaxLine> taxes;
        for (const TaxLine& tax : m_settings.invoice.taxes)
            if (tax.isSet())
                taxes.append(tax);
        if (taxes.isEmpty() && expenses.isEmpty())
            return;
        QStringList currencies = time.currencies();
        for (const QString& currency : expenses.currencies())
            if (!currencies.contains(currency))
                currencies.append(currency);
        currencies.sort();
        if (currencies.isEmpty())
            currencies.append(QString());  // nothing met: the figures without a currency
        QList<std::pair<QString, QString>> rows;
        for (const QString& currency : currencies) {
            const qint64 netCents = time.cents(currency) + expenses.cents(currency);
            if (!expenses.isEmpty()) {
                rows.append(
                    {QStringLiteral("Time"), MoneyTotals::text(currency, time.cents(currency))});
                rows.append({QStringLiteral("Expenses"),
                             MoneyTotals::text(currency, expenses.cents(currency))});
            }
            qint64 due = netCents;
            if (!taxes.isEmpty())
                rows.append({QStringLiteral("Net"), MoneyTotals::text(currency, netCents)});
            for (const TaxLine& tax : taxes) {
                const qint64 cents = taxCents(netCents, tax.rate);
                due += cents;
                rows.append({taxLabel(tax), MoneyTotals::text(currency, cents)});
            }
            rows.append({QStringLiteral("Total due"), MoneyTotals::text(currency, due)});
        }
        m_page.addAmountTable(rows);
    }

    InvoiceItems m_items;
    InvoiceDetails m_invoice;
};

}  // namespace

std::unique_ptr<HtmlReport> HtmlReport::make(const ReportLayout& layout, const Settings& settings,
                                             const InvoiceDetails& invoice) {
    switch (layout.reportType()) {
        case ReportLayout::GroupBy:
            return std::make_unique<GroupByReport>(layout, settings);
        case ReportLayout::Tabular:
            return std::make_unique<TabularReport>(layout, settings);
        case ReportLayout::Invoice:
            return std::make_unique<InvoiceReport>(layout, settings, invoice);
        default:
            return nullptr;
    }
}

QString HtmlReport::page(RecordStore& db, const EntryFilter& criteria, const QString& charset) {
    return collectedText(
        [&](const PageStream::Sink& sink) { return write(db, criteria, charset, sink); });
}

QString htmlDocType() {
    return QStringLiteral(
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" "
        "\"http://www.w3.org/TR/html4/loose.dtd\">");
}

}  // namespace tempolatch
