#include "reports/LayoutRows.h"

#include "platform/StringTable.h"
#include "reports/ExpenseReport.h"
#include "views/ViewIds.h"

namespace tempolatch {

namespace {

constexpr int kDateSelections = 4010;  // "None", "Range", "Start Date Only"
constexpr int kShow = 4030;            // "Show", then "Hide"

LayoutRow section(const QString& label) {
    LayoutRow row;
    row.label = label;
    return row;
}

LayoutRow flagRow(const QString& label, const ReportLayout& layout, ReportLayout::Flag flag,
                  bool enabled = true) {
    LayoutRow row;
    row.kind = LayoutRow::Flag;
    row.label = label;
    row.flag = flag;
    row.choice = layout.shows(flag) ? 0 : 1;
    row.enabled = enabled;
    return row;
}

}  // namespace

QStringList LayoutRow::choices() const {
    QStringList out;
    switch (kind) {
        case DateSelection:
            for (int i = 0; i < 3; ++i)
                out.append(resourceString(kDateSelections + i));
            break;
        case GroupBy:
            for (int i = 0; i < int(ReportLayout::GroupByChoices.size()); ++i)
                out.append(resourceString(str::ColumnTitles + i));
            break;
        case Flag:
        case Field:
            out = {resourceString(kShow), resourceString(kShow + 1)};
            break;
        default:
            break;
    }
    return out;
}

QString LayoutRow::valueText() const {
    if (!isChoice())
        return text;
    const QStringList texts = choices();
    return choice >= 0 && choice < texts.size() ? texts.at(choice) : QString();
}

namespace {

LayoutRow titleRow(const ReportLayout& layout) {
    LayoutRow title;
    title.kind = LayoutRow::Title;
    title.label = QStringLiteral("Title: ");
    title.text = layout.title();
    return title;
}

}  // namespace

QList<LayoutRow> layoutRows(const ReportLayout& layout, int kind) {
    const bool expenses = ReportLayout::isExpenseType(kind);
    QList<LayoutRow> rows;
    rows.append(section(QStringLiteral("Header Area")));
    if (expenses) {
        // An expense report has a title and its fields, nothing to choose
        // about dates, groups or totals.
        rows.append(titleRow(layout));
        rows.append(section(QStringLiteral("Detail Area")));
    } else if (kind == ReportLayout::Invoice) {
        LayoutRow number;
        number.kind = LayoutRow::InvoiceNumber;
        number.label = QStringLiteral("Invoice Number:");
        number.text = layout.invoiceNumber();
        rows.append(number);
        rows.append(section(QStringLiteral("Detail Area")));
    } else {
        rows.append(titleRow(layout));
        LayoutRow dates;
        dates.kind = LayoutRow::DateSelection;
        dates.label = QStringLiteral("Date Selection: ");
        dates.choice = qBound(0, int(layout.dateSelection()), 2);
        rows.append(dates);
        rows.append(section(QStringLiteral("Detail Area")));
        if (kind == ReportLayout::GroupBy) {
            const bool groupBy = layout.reportType() == ReportLayout::GroupBy;
            LayoutRow group;
            group.kind = LayoutRow::GroupBy;
            group.label = QStringLiteral("Group By: ");
            group.choice = qMax(0, layout.groupByIndex());
            group.enabled = groupBy;
            rows.append(group);
            rows.append(flagRow(QStringLiteral("Group By Title"), layout, ReportLayout::GroupTitle,
                                groupBy));
            rows.append(flagRow(QStringLiteral("Group Total Hours"), layout,
                                ReportLayout::GroupTotalHours, groupBy));
        }
    }
    if (!expenses)
        rows.append(section(QStringLiteral("Table Fields")));
    for (const int field : layout.orderedFields()) {
        LayoutRow row;
        row.kind = LayoutRow::Field;
        row.field = field;
        row.label = expenses ? expenseFieldCaption(field) : resourceString(str::ColumnTitles + field);
        row.choice = layout.fieldMask() & (1u << field) ? 0 : 1;
        rows.append(row);
    }
    rows.append(section(QStringLiteral("Footer Area")));
    if (kind != ReportLayout::Invoice && !expenses)
        for (int i = 0; i < 6; ++i)
            rows.append(flagRow(resourceString(ReportLayout::TotalCaptions + i), layout,
                                ReportLayout::TotalFlags[size_t(i)]));
    rows.append(flagRow(QStringLiteral("Report Date"), layout, ReportLayout::ReportDate));
    return rows;
}

void collectLayout(const QList<LayoutRow>& rows, ReportLayout& layout) {
    QString order;
    quint32 mask = layout.fieldMask();
    for (const LayoutRow& row : rows) {
        switch (row.kind) {
            case LayoutRow::Title:
                layout.setTitle(row.text);
                break;
            case LayoutRow::InvoiceNumber:
                layout.setInvoiceNumber(row.text);
                break;
            case LayoutRow::DateSelection:
                layout.setDateSelection(quint16(row.choice));
                break;
            case LayoutRow::GroupBy:
                if (row.enabled && row.choice >= 0 &&
                    row.choice < int(ReportLayout::GroupByChoices.size()))
                    layout.setGroupBy(ReportLayout::GroupByChoices[size_t(row.choice)]);
                break;
            case LayoutRow::Flag:
                layout.setShows(row.flag, row.choice == 0);
                break;
            case LayoutRow::Field:
                order += ReportLayout::codeOfField(row.field);
                if (row.choice == 0)
                    mask |= 1u << row.field;
                else
                    mask &= ~(1u << row.field);
                break;
            case LayoutRow::Section:
                break;
        }
    }
    layout.setFieldOrder(order);
    layout.setFieldMask(mask);
}

bool canMoveUp(const QList<LayoutRow>& rows, int row) {
    return row > 0 && row < rows.size() && rows[row].kind == LayoutRow::Field &&
           rows[row - 1].kind == LayoutRow::Field;
}

bool canMoveDown(const QList<LayoutRow>& rows, int row) {
    return row >= 0 && row + 1 < rows.size() && rows[row].kind == LayoutRow::Field &&
           rows[row + 1].kind == LayoutRow::Field;
}

}  // namespace tempolatch
