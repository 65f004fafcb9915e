#include "store/RecordValues.h"

#include "platform/StringTable.h"

namespace tempolatch {

namespace {

// Minutes and sixths of an hour for the hundredths that stand for whole ten
// minutes; -1 for every other hundredths part.
int tenMinuteStep(qint32 hundredthsPart) {
    switch (hundredthsPart) {
        case 17:
            return 1;
        case 33:
            return 2;
        case 67:
            return 4;
        case 83:
            return 5;
        default:
            return -1;
    }
}

}  // namespace

QString statusName(EntryStatus status) {
    const int value = int(status);
    return value <= 3 ? resourceString(str::StatusNames + value) : QString();
}

QString rateTypeName(RateType type) {
    const int value = int(type);
    return value <= 4 ? resourceString(str::RateTypeNames + value) : QString();
}

QString expenseTypeName(ExpenseType type) {
    switch (type) {
        case ExpenseType::General:
            return QStringLiteral("General Expense");
        case ExpenseType::Mileage:
            return QStringLiteral("Mileage Expense");
    }
    return {};
}

QString hundredthsText(qint64 hundredths) {
    // From the integer: exact, and without a printf per value.
    const quint64 magnitude =
        hundredths < 0 ? quint64(0) - quint64(hundredths) : quint64(hundredths);
    QString text = QString::number(magnitude / 100);
    text.reserve(text.size() + 4);
    if (hundredths < 0)
        text.prepend(u'-');
    const int cents = int(magnitude % 100);
    return text.append(u'.').append(QChar(u'0' + cents / 10)).append(QChar(u'0' + cents % 10));
}

QString amountText(double amount) {
    return QString::asprintf("%.02f", amount);
}

int wholeMinutes(qint32 hundredths) {
    const int step = tenMinuteStep(hundredths % 100);
    if (step > 0)
        return (hundredths / 100) * 60 + step * 10;
    // In integers: hundredths x 0.01 x 60 in doubles loses a minute for
    // values such as 2.05 hours.
    return int(qint64(hundredths) * 60 / 100);
}

double hoursOf(qint32 hundredths, bool precise) {
    const int step = precise ? tenMinuteStep(hundredths % 100) : -1;
    if (step > 0)
        return (hundredths / 100) + step / 6.0;
    return hundredths * 0.01;
}

}  // namespace tempolatch
