#include "platform/Locale.h"

#include <QCollator>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>
#include <optional>

namespace tempolatch::platform {

namespace {
std::optional<QLocale> g_locale;

QCollator& collator() {
    static QCollator instance;
    static QString forLocale;
    const QLocale loc = Locale::current();
    if (forLocale != loc.name()) {
        instance = QCollator(loc);
        instance.setCaseSensitivity(Qt::CaseSensitive);
        forLocale = loc.name();
    }
    return instance;
}
}  // namespace

QLocale Locale::current() {
    return g_locale ? *g_locale : QLocale::system();
}

void Locale::set(const QLocale& locale) {
    g_locale = locale;
}

void Locale::resetToSystem() {
    g_locale.reset();
}

QString Locale::collationName() {
    return current().name();
}

QString Locale::shortDateFormat() {
    return current().dateFormat(QLocale::ShortFormat);
}

QString Locale::longDateFormat() {
    return current().dateFormat(QLocale::LongFormat);
}

QString Locale::yearMonthFormat() {
    // Qt has no year-month format of its own; the long format without the
    // day and weekday parts gives what the locale would show.
    QString format = longDateFormat();
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

QString Locale::timeFormatWithoutSeconds() {
    QString format = current().timeFormat(QLocale::ShortFormat);
    static const QRegularExpression seconds(QStringLiteral("[:.]ss?"));
    format.remove(seconds);
    return format;
}

QString Locale::formatDate(const SystemTime& st, const QString& format) {
    return current().toString(st.toDateTime(), format);
}

QString Locale::shortDate(const SystemTime& st) {
    return current().toString(st.date(), QLocale::ShortFormat);
}

QString Locale::timeWithoutSeconds(const SystemTime& st) {
    return current().toString(QTime(st.hour, st.minute), timeFormatWithoutSeconds());
}

int Locale::compare(const QString& a, const QString& b) {
    return collator().compare(a, b);
}

QByteArray Locale::toAnsi(const QString& text) {
    QStringEncoder encoder("windows-1252");
    if (!encoder.isValid())
        return text.toLatin1();
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

}  // namespace tempolatch::platform
