#include "clients/RateText.h"

#include <limits>

#include "platform/StringTable.h"
#include "store/Rate.h"
#include "store/RecordValues.h"

namespace tempolatch {

namespace ratetext {

bool passesNumericTest(const QString& text) {
    for (QChar c : text)
        if (c.isLetter())
            return false;
    return true;
}

std::optional<qint32> parseRate(const QString& text) {
    if (!passesNumericTest(text))
        return std::nullopt;
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto isDigit = [&](qsizetype at) {
        return at < n && text[at] >= QLatin1Char('0') && text[at] <= QLatin1Char('9');
    };
    while (i < n && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        negative = text[i++] == QLatin1Char('-');
    // Whole units, then at most two decimals; in 64 bits, so that a text of
    // sixteen digits cannot overflow before the range check.
    qint64 hundredths = 0;
    constexpr qint64 limit = std::numeric_limits<qint32>::max();
    for (; isDigit(i); ++i) {
        hundredths = hundredths * 10 + (text[i].unicode() - '0');
        if (hundredths * 100 > limit + 1)
            return std::nullopt;
    }
    hundredths *= 100;
    if (i < n && text[i] == QLatin1Char('.')) {
        ++i;
        if (isDigit(i))
            hundredths += 10 * (text[i++].unicode() - '0');
        if (isDigit(i))
            hundredths += text[i].unicode() - '0';
    }
    if (negative)
        hundredths = -hundredths;
    if (hundredths > limit || hundredths < std::numeric_limits<qint32>::min())
        return std::nullopt;
    return qint32(hundredths);
}

QString valueText(qint32 hundredths) {
    return amountText(double(hundredths) / 100.0);
}

QString itemText(const Rate& rate) {
    return QStringLiteral("%1 (%2)").arg(rate.description, valueText(rate.rate));
}

}  // namespace ratetext

RateInput checkRateInput(const QString& description, const QString& rateText) {
    RateInput input;
    if (description.isEmpty()) {
        input.messageId = str::EnterDescription;
        input.focus = RateInput::Field::Description;
        return input;
    }
    const std::optional<qint32> value = ratetext::parseRate(rateText);
    if (!value) {
        input.messageId = str::InvalidRate;
        input.focus = RateInput::Field::Rate;
        return input;
    }
    input.value = *value;
    return input;
}

}  // namespace tempolatch
