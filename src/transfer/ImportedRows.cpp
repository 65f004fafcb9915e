#include "transfer/ImportedRows.h"

#include <QStringDecoder>
#include <cmath>

namespace tempolatch {

namespace {

// The line of the first byte that is not UTF-8: the decoder's replacement
// character where the bytes hold none of their own.
int firstBadUtf8Line(const QByteArray& bytes) {
    int line = 1;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = decoder(bytes.mid(start, end - start));
        if (decoder.hasError())
            return line;
        ++line;
        start = end + 1;
    }
    return 0;
}

}  // namespace

std::optional<QString> importText(const QByteArray& bytes, ImportRead& read) {
    const auto encoding = QStringConverter::encodingForData(bytes);
    if (encoding && *encoding != QStringConverter::Utf8) {
        QStringDecoder decoder(*encoding);
        QString text = decoder(bytes);
        if (!decoder.hasError())
            return text;
        read.problem(0, QStringLiteral("The file is not readable text in the encoding its byte "
                                       "order mark names."));
        return std::nullopt;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder(bytes);
    if (!decoder.hasError())
        return text;
    read.problem(firstBadUtf8Line(bytes),
                 QStringLiteral("This line is not UTF-8 text: save the export as UTF-8."));
    return std::nullopt;
}

std::optional<platform::FileTime> entryStart(const QDateTime& local) {
    if (!local.isValid())
        return std::nullopt;
    platform::SystemTime st = platform::SystemTime::fromDateTime(local);
    st.second = 1;
    st.milliseconds = 0;
    return platform::toFileTime(st);
}

std::optional<qint64> hundredthsOfAmount(const QString& text) {
    bool ok = false;
    const double amount = text.toDouble(&ok);
    if (!ok || !std::isfinite(amount) || amount < 0 || amount > INT32_MAX / 100.0)
        return std::nullopt;
    return std::llround(amount * 100);
}

void setRateForAmount(TimeEntry& entry, qint64 cents) {
    const auto worth = [cents](const TimeEntry& e) {
        return std::llround(e.amount(false) * 100) == cents &&
               std::llround(e.amount(true) * 100) == cents;
    };
    if (entry.duration > 0) {
        // Hundredths of a currency unit per hour.
        const qint64 hourly = std::llround(double(cents) * 100 / entry.duration);
        TimeEntry hourlyEntry = entry;
        hourlyEntry.rateType = RateType::Normal;
        hourlyEntry.rate = qint32(std::min<qint64>(hourly, INT32_MAX));
        if (hourly <= INT32_MAX && worth(hourlyEntry)) {
            entry = hourlyEntry;
            return;
        }
    }
    entry.rateType = RateType::Fixed;
    entry.rate = qint32(std::min<qint64>(cents, INT32_MAX));
}

qint32 hundredthsOfSeconds(qint64 seconds) {
    return qint32(std::min<qint64>((seconds * 100 + 1800) / 3600, INT32_MAX));
}

}  // namespace tempolatch
