#include "platform/Locale.h"

#include <QCollator>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>
#include <array>
#include <optional>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <langinfo.h>
#endif

namespace tempolatch::platform {

namespace {
std::optional<QLocale> g_locale;
QByteArray g_codeset;  // set by tests; empty: the environment's
// Bumped whenever the locale is replaced, so that what was derived from the
// old one is derived again.
quint64 g_generation = 1;

// Formats derived from the locale: list rows ask for them once per row, and
// deriving them takes regular expressions.
struct Formats {
    quint64 generation = 0;
    QString shortDate;
    QString longDate;
    QString yearMonth;
    QString timeWithoutSeconds;
};

QString deriveYearMonthFormat(const QString& longDate) {
    // Qt has no year-month format of its own; the long format without the
    // day and weekday parts gives what the locale would show.
    QString format = longDate;
    format.remove(QStringLiteral("dddd"));
    format.remove(QStringLiteral("ddd"));
    static const QRegularExpression day(QStringLiteral("\\bd{1,2}\\b[.,]?"));
    format.remove(day);
    format = format.simplified();
    while (format.startsWith(QLatin1Char(',')) || format.startsWith(QLatin1Char(' ')))
        format.remove(0, 1);
    while (format.endsWith(QLatin1Char(',')) || format.endsWith(QLatin1Char(' ')))
        format.chop(1);
    format.replace(QStringLiteral(" ,"), QStringLiteral(","));
    format.replace(QStringLiteral(",,"), QStringLiteral(","));
    return format.isEmpty() ? QStringLiteral("MMMM yyyy") : format;
}

const Formats& formats() {
    static Formats cached;
    if (cached.generation != g_generation) {
        const QLocale loc = Locale::current();
        cached.shortDate = loc.dateFormat(QLocale::ShortFormat);
        cached.longDate = loc.dateFormat(QLocale::LongFormat);
        cached.yearMonth = deriveYearMonthFormat(cached.longDate);
        QString time = loc.timeFormat(QLocale::ShortFormat);
        static const QRegularExpression seconds(QStringLiteral("[:.]ss?"));
        time.remove(seconds);
        cached.timeWithoutSeconds = time;
        cached.generation = g_generation;
    }
    return cached;
}

QCollator& collator() {
    static QCollator instance;
    static quint64 generation = 0;
    if (generation != g_generation) {
        instance = QCollator(Locale::current());
        instance.setCaseSensitivity(Qt::CaseSensitive);
        generation = g_generation;
    }
    return instance;
}
}  // namespace

QLocale Locale::current() {
    return g_locale ? *g_locale : QLocale::system();
}

void Locale::set(const QLocale& locale) {
    g_locale = locale;
    ++g_generation;
}

void Locale::resetToSystem() {
    g_locale.reset();
    ++g_generation;
}

QString Locale::collationName() {
    return current().name();
}

QString Locale::shortDateFormat() {
    return formats().shortDate;
}

QString Locale::longDateFormat() {
    return formats().longDate;
}

QString Locale::yearMonthFormat() {
    return formats().yearMonth;
}

QString Locale::timeFormatWithoutSeconds() {
    return formats().timeWithoutSeconds;
}

QString Locale::formatDate(const SystemTime& st, const QString& format) {
    // As a date-time without a time zone: the fields are shown as they are,
    // and the system's zone is not consulted for every date.
    return current().toString(
        QDateTime(st.date(), QTime(st.hour, st.minute, st.second, st.milliseconds), Qt::UTC),
        format);
}

namespace {

// The last short date and every time of day made, per thread: a list of a
// month shows ten entries a day at a handful of times, and making the text
// through the locale cost more than the rest of its row. The texts are
// shared, so each row keeps a reference instead of a copy of its own.
struct TextMemo {
    quint64 generation = 0;
    std::optional<QDate> day;
    QString dayText;
    std::array<QString, 24 * 60> times;

    void follow() {
        if (generation == g_generation)
            return;
        day.reset();
        dayText.clear();
        times.fill(QString());
        generation = g_generation;
    }
};

TextMemo& textMemo() {
    static thread_local TextMemo memo;
    memo.follow();
    return memo;
}

}  // namespace

QString Locale::shortDate(const SystemTime& st) {
    // Through the kept format: asking for the short format by name makes
    // the system locale look it up again for every row.
    TextMemo& memo = textMemo();
    const QDate date = st.date();
    if (memo.day != date) {
        memo.dayText = current().toString(date, formats().shortDate);
        memo.day = date;
    }
    return memo.dayText;
}

QString Locale::timeWithoutSeconds(const SystemTime& st) {
    if (st.hour >= 24 || st.minute >= 60)
        return current().toString(QTime(st.hour, st.minute), timeFormatWithoutSeconds());
    QString& text = textMemo().times[st.hour * 60 + st.minute];
    if (text.isNull())
        text = current().toString(QTime(st.hour, st.minute), timeFormatWithoutSeconds());
    return text;
}

int Locale::compare(const QString& a, const QString& b) {
    return collator().compare(a, b);
}

QByteArray Locale::toAnsi(const QString& text) {
    QStringEncoder encoder("windows-1252");
    if (!encoder.isValid())
        return text.toLatin1();
    return encodeMarkingLosses(encoder, text);
}

QByteArray Locale::encodeMarkingLosses(QStringEncoder& encoder, const QString& text) {
    QByteArray out = encoder.encode(text);
    // The encoder marks what the code page cannot hold with SUB (0x1A);
    // readers of our files expect the usual '?' there.
    if (out.contains('\x1a') && !text.contains(QChar(0x1A)))
        out.replace('\x1a', '?');
    return out;
}

QString Locale::fromAnsi(const QByteArray& bytes) {
    QStringDecoder decoder("windows-1252");
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

QByteArray Locale::systemCodeset() {
    if (!g_codeset.isEmpty())
        return g_codeset;
#ifdef Q_OS_WIN
    return "windows-" + QByteArray::number(uint(GetACP()));
#else
    const QByteArray name(nl_langinfo(CODESET));
    if (name.isEmpty() || name == "ANSI_X3.4-1968" || name == "US-ASCII" || name == "ASCII")
        return "UTF-8";
    return name;
#endif
}

void Locale::setSystemCodeset(const QByteArray& name) {
    g_codeset = name;
}

QString Locale::fromSystem8Bit(QByteArrayView bytes) {
    QStringDecoder decoder(systemCodeset().constData());
    if (!decoder.isValid())
        return QString::fromUtf8(bytes);
    return decoder.decode(bytes);
}

QByteArray Locale::toSystem8Bit(const QString& text) {
    QStringEncoder encoder(systemCodeset().constData());
    if (!encoder.isValid())
        return text.toUtf8();
    return Locale::encodeMarkingLosses(encoder, text);
}

}  // namespace tempolatch::platform
