#include "reports/ExpenseReport.h"

#include "platform/Locale.h"
#include "platform/StringTable.h"
#include "records/MoneyTotals.h"
#include "reports/ExportValues.h"
#include "reports/ReportPage.h"
#include "settings/Settings.h"
#include "store/ExpenseEntry.h"

namespace tempolatch {

using Field = ReportLayout::ExpenseField;

namespace {

// The caption strings of the expense fields 0-16.
constexpr int kCaptions[ReportLayout::ExpenseFields] = {
    5001, 95, 5002, 5003, 98, 100, 96, 5007, 5009, 5008, 97, 5011, 5012, 5013, 5017, 5016, 99};
constexpr int kBillTo = 5011;

// The mileage report also right-aligns its odometer and distance columns.
bool rightAligned(int field, bool mileage) {
    return field == Field::ExpenseAmount ||
           (mileage && (field == Field::Distance || field == Field::StartOdometer ||
                        field == Field::EndOdometer));
}

}  // namespace

QString expenseCellText(const ExpenseEntry& e, int field) {
    switch (field) {
        case Field::ExpenseDate:
            return shortDateText(e.date);
        case Field::Description:
            return e.description;
        case Field::ExpenseClient:
            return e.client;
        case Field::ExpenseProject:
            return e.project;
        case Field::StartOdometer:
            return QString::number(e.startOdometer);
        case Field::Distance:
            return QString::number(e.distance);
        case Field::Category:
            return e.category;
        case Field::ExpenseCurrency:
            return e.currency;
        case Field::ExpenseRate:
            return hundredthsText(e.amount);
        case Field::ExpenseStatus:
            return resourceString(str::StatusNames + int(e.status));
        case Field::Receipt:
            return e.receipt ? QStringLiteral("Y") : QStringLiteral("N");
        case Field::ExpenseBillTo:
            return e.billTo;
        case Field::ExpenseCustom1:
            return e.custom1;
        case Field::ExpenseCustom2:
            return e.custom2;
        case Field::ExpenseNote:
            return e.note;
        case Field::ExpenseAmount:
            return moneyText(e.totalAmount());
        case Field::EndOdometer:
            return QString::number(e.endOdometer());
        default:
            return QString();
    }
}

QString expenseFieldCaption(int field) {
    return field >= 0 && field < ReportLayout::ExpenseFields ? resourceString(kCaptions[field])
                                                             : QString();
}

QString ExpenseReport::caption(int field, const Settings& settings) {
    if (field == Field::ExpenseCustom1)
        return settings.expenseCustom1;
    if (field == Field::ExpenseCustom2)
        return settings.expenseCustom2;
    return expenseFieldCaption(field);
}

ExpenseReport::ExpenseReport(const ReportLayout& layout, const Settings& settings)
    : m_layout(layout), m_settings(settings) {}

std::unique_ptr<ExpenseReport> ExpenseReport::make(const ReportLayout& layout,
                                                   const Settings& settings) {
    if (!ReportLayout::isExpenseType(layout.reportType()))
        return nullptr;
    return std::unique_ptr<ExpenseReport>(new ExpenseReport(layout, settings));
}

QString ExpenseReport::page(RecordStore& db, const ExpenseCriteria& criteria,
                            const QString& charset) {
    return collectedText(
        [&](const PageStream::Sink& sink) { return write(db, criteria, charset, sink); });
}

bool ExpenseReport::write(RecordStore& db, const ExpenseCriteria& criteria, const QString& charset,
                          const PageStream::Sink& sink) {
    const bool mileage = m_layout.reportType() == ReportLayout::MileageExpense;
    const ExpenseType type = mileage ? ExpenseType::Mileage : ExpenseType::General;
    const QList<int> columns = m_layout.columns();
    ReportPage page(sink);
    page.frame(m_layout.title(), charset);
    page.addChild(QStringLiteral("h1"), m_layout.title());
    if (ownerBlockShown(m_settings)) {
        page.addLogo(m_settings.ownerLogo);
        page.addOwnerBlock(m_settings.owner, QString());
    }

    MoneyTotals amounts;
    qint64 distance = 0;
    bool any = false;
    // A report of one type lists only expenses of that type: the other
    // type's rows would not fit its columns (a general report's Rate is its
    // Amount).
    forEachChosenExpense(db, criteria, [&](const ExpenseEntry& e) {
        if (e.type != type)
            return true;
        if (!any) {
            // The heading and the table come with the first expense, so that
            // a range without any has neither.
            any = true;
            page.addChild(QStringLiteral("h2"), resourceString(kBillTo));
            page.beginParagraph();
            page.addSpan(e.billTo, true);
            page.addSpan(e.client, true);
            page.endParagraph();
            QStringList captions;
            for (const int field : columns)
                captions.append(caption(field, m_settings));
            page.beginTable(captions);
        }
        QList<ReportPage::Cell> cells;
        cells.reserve(columns.size());
        for (const int field : columns)
            cells.append({expenseCellText(e, field), rightAligned(field, mileage)});
        page.addRow(cells);
        amounts.add(e.currency, e.totalAmount());
        distance += e.distance;
        return true;
    });
    if (any) {
        page.addTotalRows(columns, Field::ExpenseAmount, amounts, [&](int field) {
            return mileage && field == Field::Distance
                       ? QString::asprintf("%.02f", double(distance))
                       : QString();
        });
        page.endTable();
    }
    page.beginParagraph();
    if (m_layout.shows(ReportLayout::ReportDate))
        page.addReportDate();
    page.endParagraph();
    return page.finish();
}

}  // namespace tempolatch
