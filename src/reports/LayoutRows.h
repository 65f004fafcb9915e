#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "reports/ReportLayout.h"

namespace tempolatch {

// One row of the report layout dialog's list: a section heading, or an
// item with a value the user edits in place (a text, a choice, Show/Hide).
struct LayoutRow {
    enum Kind { Section, Title, InvoiceNumber, DateSelection, GroupBy, Flag, Field };
    Kind kind = Section;
    QString label;
    QString text;    // Title, InvoiceNumber
    int choice = 0;  // DateSelection, GroupBy: the index; Flag, Field: 0 Show, 1 Hide
    ReportLayout::Flag flag = ReportLayout::ReportDate;
    int field = -1;  // Field: the field number
    bool enabled = true;

    bool hasValue() const { return kind != Section; }
    bool isChoice() const { return kind != Section && kind != Title && kind != InvoiceNumber; }
    // The texts a choice offers, and the one it shows.
    QStringList choices() const;
    QString valueText() const;
};

// The rows of the dialog of `kind` for the layout: header area, detail
// area, the field rows in the layout's order (18 for the time reports, 14
// or 16 for the expense reports), footer area.
QList<LayoutRow> layoutRows(const ReportLayout& layout, int kind);

// The layout as the rows say: texts, choices, show flags, and the field
// order and mask from the field rows.
void collectLayout(const QList<LayoutRow>& rows, ReportLayout& layout);

// Only field rows move, and only among the field rows.
bool canMoveUp(const QList<LayoutRow>& rows, int row);
bool canMoveDown(const QList<LayoutRow>& rows, int row);

}  // namespace tempolatch
