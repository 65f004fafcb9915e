#include "transfer/ListFile.h"

#include <QFile>
#include <QStringEncoder>

#include "platform/Locale.h"
#include "platform/NativePath.h"
#include "platform/OutputFile.h"

namespace tempolatch {

namespace {

const QByteArray Utf16LeMark("\xff\xfe", 2);
const QByteArray Utf8Mark("\xef\xbb\xbf", 3);

// UTF-16 little-endian units; an odd last byte is the low half of a unit
// whose high half is zero.
QString fromUtf16Le(QByteArrayView bytes) {
    QString text;
    text.reserve(bytes.size() / 2 + 1);
    for (qsizetype i = 0; i < bytes.size(); i += 2) {
        const auto low = quint8(bytes[i]);
        const auto high = i + 1 < bytes.size() ? quint8(bytes[i + 1]) : quint8(0);
        text.append(QChar(char16_t(low | (high << 8))));
    }
    return text;
}

}  // namespace

QStringList listLines(const QString& text) {
    const qsizetype end = text.indexOf(QChar(0));
    const QStringView whole = end < 0 ? QStringView(text) : QStringView(text).left(end);
    QStringList lines;
    qsizetype start = 0;
    auto take = [&](qsizetype at) {
        if (at > start) {
            const QStringView line = whole.sliced(start, at - start);
            lines.append((line.size() > MaxListLineLength ? line.left(MaxListLineLength - 1) : line)
                             .toString());
        }
        start = at + 1;
    };
    for (qsizetype i = 0; i < whole.size(); ++i) {
        if (whole[i] == QLatin1Char('\r') || whole[i] == QLatin1Char('\n'))
            take(i);
    }
    take(whole.size());
    return lines;
}

std::optional<QStringList> listFileLines(QByteArrayView bytes) {
    if (bytes.startsWith(Utf16LeMark)) {
        const QString text = fromUtf16Le(bytes.sliced(2));
        // A mark followed by NUL is no text we can trust.
        if (!text.isEmpty() && text.front() == QChar(0))
            return std::nullopt;
        return listLines(text);
    }
    if (bytes.startsWith(Utf8Mark))
        return listLines(QString::fromUtf8(bytes.sliced(3)));
    return listLines(platform::Locale::fromSystem8Bit(bytes));
}

std::optional<QStringList> readListFile(const QString& path) {
    QFile file;
    if (!platform::openNative(file, path, QIODevice::ReadOnly, nullptr))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return listFileLines(bytes);
}

QByteArray listFileBytes(const QStringList& names, ListFileEncoding encoding) {
    const QString text = names.join(QStringLiteral("\r\n"));
    if (encoding == ListFileEncoding::EightBit)
        return platform::Locale::toSystem8Bit(text);
    QStringEncoder encoder(QStringConverter::Utf16LE);
    return Utf16LeMark + QByteArray(encoder.encode(text));
}

bool exportList(const QString& path, const QStringList& names, ListFileEncoding encoding,
                QString* error) {
    platform::OutputFile file(path);
    const QByteArray bytes = listFileBytes(names, encoding);
    if (file.open() && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}

}  // namespace tempolatch
