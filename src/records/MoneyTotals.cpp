#include "records/MoneyTotals.h"

#include <cmath>

#include "platform/Locale.h"
#include "store/RecordValues.h"

namespace tempolatch {

qint64 centsOf(double amount) {
    // Amounts are products of hundredths (rate x hours): their binary noise
    // lies far below a millionth, so rounding to millionths first gives back
    // the decimal value, and only then is the half cent rounded away from 0.
    const double millionths = std::round(amount * 1e6);
    return std::llround(millionths / 1e4);
}

QString centsText(qint64 cents) {
    return hundredthsText(cents);
}

QString localeCentsText(qint64 cents) {
    return platform::Locale::current().toString(cents / 100.0, 'f', 2);
}

QString moneyText(double amount) {
    return centsText(centsOf(amount));
}

void MoneyTotals::add(const QString& currency, double amount) {
    Sum& sum = m_sums[currency];
    sum.cents += centsOf(amount);
    ++sum.count;
}

void MoneyTotals::remove(const QString& currency, double amount) {
    const auto it = m_sums.find(currency);
    if (it == m_sums.end())
        return;
    it->cents -= centsOf(amount);
    if (--it->count <= 0)
        m_sums.erase(it);
}

QString MoneyTotals::text(const QString& currency, qint64 cents) {
    return withCurrency(currency, centsText(cents));
}

QString MoneyTotals::withCurrency(const QString& currency, const QString& amount) {
    return currency.isEmpty() ? amount : currency + u' ' + amount;
}

QStringList MoneyTotals::localeTexts() const {
    QStringList texts;
    for (auto it = m_sums.cbegin(); it != m_sums.cend(); ++it)
        texts << withCurrency(it.key(), localeCentsText(it->cents));
    return texts;
}

QStringList MoneyTotals::shownCurrencies() const {
    return m_sums.isEmpty() ? QStringList{QString()} : currencies();
}

}  // namespace tempolatch
