#include "views/ColumnLayout.h"

#include <QtEndian>
#include <algorithm>

#include "platform/Registry.h"

namespace tempolatch {

namespace {
const QString kKey = QString::fromLatin1(platform::Registry::AppKey);
}

const ColumnLayout& ColumnLayout::timeEntries() {
    static const ColumnLayout layout{
        {
            {5001, 80, false},   // Entry Date
            {5002, 100, false},  // Client
            {5003, 100, false},  // Project
            {5004, 50, false},   // Phase
            {5005, 100, false},  // Task
            {5006, 50, true},    // Duration
            {5010, 65, false},   // Start Time
            {5011, 80, false},   // Bill To
            {5012, 70, false},   // Custom 1
            {5013, 70, false},   // Custom 2
            {5014, 70, false},   // Custom 3
            {5018, 65, false},   // End Time
            {5007, 65, false},   // Currency
            {5009, 60, true},    // Rate
            {5015, 70, false},   // Rate Type
            {5016, 60, true},    // Amount
        },
        QStringLiteral("ColOrder"),
        QStringLiteral("Column%d"),
        11,
    };
    return layout;
}

QString ColumnLayout::widthValue(int column) const {
    return QString(widthFormat).replace(QStringLiteral("%d"), QString::number(column));
}

QList<int> ColumnLayout::loadOrder(const platform::Registry& registry) const {
    const auto bytes = registry.readBytes(kKey, orderValue);
    if (!bytes || bytes->size() % 4 != 0 || bytes->size() > 4 * count() || bytes->isEmpty())
        return {};
    QList<int> order;
    for (qsizetype at = 0; at < bytes->size(); at += 4)
        order.append(int(qFromLittleEndian<qint32>(bytes->constData() + at)));
    for (int column = int(order.size()); column < count(); ++column)
        order.append(column);
    // Anything but each column exactly once would lose columns.
    QList<int> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < count(); ++i)
        if (sorted[i] != i)
            return {};
    return order;
}

std::optional<int> ColumnLayout::loadWidth(const platform::Registry& registry, int column) const {
    const auto value = registry.readNumber(kKey, widthValue(column));
    if (!value)
        return std::nullopt;
    return int(*value & 0xFFFF);
}

void ColumnLayout::save(platform::Registry& registry, const QList<int>& order,
                        const QList<int>& widths) const {
    if (order.size() != count() || widths.size() != count())
        return;
    QByteArray bytes(4 * count(), '\0');
    for (int i = 0; i < count(); ++i)
        qToLittleEndian(qint32(order[i]), bytes.data() + 4 * i);
    registry.beginBatch();
    registry.writeBytes(kKey, orderValue, bytes);
    for (int column = 0; column < count(); ++column) {
        if (widths[column] < 0)
            registry.deleteValue(kKey, widthValue(column));
        else
            registry.writeNumber(kKey, widthValue(column), quint32(widths[column]));
    }
    registry.endBatch();
}

}  // namespace tempolatch
