#pragma once

#include <QList>
#include <QString>
#include <optional>

namespace tempolatch {

namespace platform {
class Registry;
}

// The columns of a Simple list and where their order and widths are kept
// under Software\Tempolatch.
struct ColumnLayout {
    struct Column {
        int title = 0;       // resource string
        int width = 0;       // pixels at 96 dpi
        bool right = false;  // right-aligned
    };

    QList<Column> columns;
    QString orderValue;   // "ColOrder": one 32-bit column index per position
    QString widthFormat;  // "Column%d": a column's width in the low 16 bits
    // Older versions stored fewer positions; the missing ones are filled
    // with their own indices.
    int legacyCount = 0;

    // The sixteen columns of the time entry list.
    static const ColumnLayout& timeEntries();

    int count() const { return int(columns.size()); }
    QString widthValue(int column) const;

    // The stored order, one column index per position; empty when none is
    // stored or what is stored is not an order of these columns.
    QList<int> loadOrder(const platform::Registry& registry) const;
    std::optional<int> loadWidth(const platform::Registry& registry, int column) const;
    // A negative width is one the user never chose: none is kept for it.
    void save(platform::Registry& registry, const QList<int>& order,
              const QList<int>& widths) const;
};

}  // namespace tempolatch
