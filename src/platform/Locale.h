#pragma once

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <QStringEncoder>

#include "platform/FileTime.h"

namespace tempolatch::platform {

// The user's locale: date, time and number formats and string comparison.
// Taken from the system; tests put a fixed locale in its place.
class Locale {
public:
    static QLocale current();
    static void set(const QLocale& locale);
    static void resetToSystem();

    // ICU-style name ("en_US") for collation keys.
    static QString collationName();

    static QString shortDateFormat();
    static QString longDateFormat();
    static QString yearMonthFormat();
    static QString timeFormatWithoutSeconds();

    static QString formatDate(const SystemTime& st, const QString& format);
    static QString shortDate(const SystemTime& st);
    static QString timeWithoutSeconds(const SystemTime& st);

    // Case-sensitive comparison in the locale's collation: <0, 0, >0.
    static int compare(const QString& a, const QString& b);

    // The 8-bit code page of the locale (Windows-1252 style where the text
    // allows it): what plain-text files are written in.
    static QByteArray toAnsi(const QString& text);
    // Text in the encoder's code page, '?' for what it cannot hold.
    static QByteArray encodeMarkingLosses(QStringEncoder& encoder, const QString& text);
    static QString fromAnsi(const QByteArray& bytes);

    // The 8-bit codeset of the user's environment (on Linux and macOS the
    // codeset of LC_CTYPE, normally UTF-8; on Windows the ANSI code page):
    // what plain-text list files are read and written in. A plain ASCII
    // environment ("C") counts as UTF-8, its superset.
    static QByteArray systemCodeset();
    // Tests put another codeset in its place; an empty name goes back to
    // the environment's.
    static void setSystemCodeset(const QByteArray& name);
    static QString fromSystem8Bit(QByteArrayView bytes);
    // Characters the codeset cannot hold come out as '?'.
    static QByteArray toSystem8Bit(const QString& text);
};

}  // namespace tempolatch::platform
