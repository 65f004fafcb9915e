#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

namespace tempolatch {

// An amount in currency units in whole cents, as every list, report and
// file shows it: rounded half away from zero, the way the amount reads in
// decimals (0.33 h at 50.50 is 16.665 and shows 16.67, even though the
// double holding it is a hair below).
qint64 centsOf(double amount);
// "%.02f" of the amount as shown: "37.63", "-0.50".
QString moneyText(double amount);
// The same of whole cents.
QString centsText(qint64 cents);
// Whole cents as the user's locale writes numbers in lists: "1,085.12".
QString localeCentsText(qint64 cents);

// Amounts added up one total per currency, each amount counted as it is
// shown (in cents), so that a total is always the sum of the lines printed
// above it and amounts of different currencies never meet.
class MoneyTotals {
public:
    void add(const QString& currency, double amount);
    // An amount added before is gone; a currency left with no amount goes.
    void remove(const QString& currency, double amount);

    bool isEmpty() const { return m_sums.isEmpty(); }
    // The currencies met, in order.
    QStringList currencies() const { return m_sums.keys(); }
    // The total of one currency; 0 when it was not met.
    qint64 cents(const QString& currency) const { return m_sums.value(currency).cents; }
    // "EUR 120.00" of one currency; the bare amount for the empty currency.
    QString text(const QString& currency) const { return text(currency, cents(currency)); }
    static QString text(const QString& currency, qint64 cents);
    // One "EUR 1,085.12" per currency met, in the locale's number format,
    // for the windows' status lines.
    QStringList localeTexts() const;
    // An amount's text with its currency before it, when it has one.
    static QString withCurrency(const QString& currency, const QString& amount);
    // The currencies a set of totals is shown in: those met, or the empty
    // currency alone when none was, so that nothing still shows "0.00".
    QStringList shownCurrencies() const;

private:
    struct Sum {
        qint64 cents = 0;
        int count = 0;  // amounts added: a currency whose amounts add up to 0 is still met
    };
    QMap<QString, Sum> m_sums;
};

}  // namespace tempolatch
