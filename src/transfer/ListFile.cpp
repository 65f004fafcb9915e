#include "transfer/ListFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>

#include "platform/Locale.h"
#include "platform/NativePath.h"
#include "platform/OutputFile.h"

namespace tempolatch {

namespace {

const QByteArray Utf16LeMark("\xff\xfe", 2);
const QByteArray Utf16BeMark("\xfe\xff", 2);
const QByteArray Utf8Mark("\xef\xbb\xbf", 3);

// UTF-16 units in either byte order; an odd last byte is the first byte of
// a unit whose second byte is zero.
QString fromUtf16(QByteArrayView bytes, bool bigEndian) {
    QString text;
    text.reserve(bytes.size() / 2 + 1);
    for (qsizetype i = 0; i < bytes.size(); i += 2) {
        const auto first = quint8(bytes[i]);
        const auto second = i + 1 < bytes.size() ? quint8(bytes[i + 1]) : quint8(0);
        text.append(QChar(char16_t(bigEndian ? (first << 8) | second : first | (second << 8))));
    }
    return text;
}

// Text as people write it: no control characters but the line and page
// breaks and tabs, and nothing the decoder could not read. Pictures,
// archives and documents of word processors fail here.
bool looksLikeText(QStringView text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == 0)
            return true;  // the text ends here
        const bool control = u < 0x20 || (u >= 0x7F && u <= 0x9F);
        const bool allowed = u == u'\t' || u == u'\n' || u == u'\r' || u == u'\f' || u == u'\v';
        if ((control && !allowed) || u == QChar::ReplacementCharacter)
            return false;
    }
    return true;
}

// The text of a list file's bytes by their mark; nullopt when UTF-16 text
// starts with NUL.
std::optional<QString> listFileText(QByteArrayView bytes) {
    if (bytes.startsWith(Utf16LeMark) || bytes.startsWith(Utf16BeMark)) {
        const QString text = fromUtf16(bytes.sliced(2), bytes.startsWith(Utf16BeMark));
        // A mark followed by NUL is no text we can trust.
        if (!text.isEmpty() && text.front() == QChar(0))
            return std::nullopt;
        return text;
    }
    if (bytes.startsWith(Utf8Mark))
        return QString::fromUtf8(bytes.sliced(3));
    return platform::Locale::fromSystem8Bit(bytes);
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
    const std::optional<QString> text = listFileText(bytes);
    if (!text || !looksLikeText(*text))
        return std::nullopt;
    return listLines(*text);
}

std::optional<QStringList> readListFile(const QString& path, ListFileProblem* problem) {
    const auto fail = [problem](ListFileProblem why) {
        if (problem)
            *problem = why;
        return std::nullopt;
    };
    QFile file;
    if (!platform::openNative(file, path, QIODevice::ReadOnly, nullptr))
        return fail(ListFileProblem::Unreadable);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(ListFileProblem::Unreadable);
    std::optional<QStringList> lines = listFileLines(bytes);
    if (!lines)
        return fail(ListFileProblem::NotText);
    return lines;
}

QString notTextMessage(const QString& path) {
    return QStringLiteral(
               "%1 is not a text file. A list file has one name on each line, as "
               "plain text.")
        .arg(QFileInfo(path).fileName());
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
