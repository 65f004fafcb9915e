#include "transfer/JsonArrayExport.h"

#include <QJsonDocument>

namespace tempolatch {

namespace {

int lineAtByte(const QByteArray& bytes, qsizetype offset) {
    return int(bytes.left(offset).count('\n')) + 1;
}

// The line each element of the top-level array starts on; exports write
// one record a line or spread over many, and either is read.
QList<int> elementLines(const QByteArray& bytes) {
    QList<int> lines;
    int line = 1;
    int depth = 0;
    bool inString = false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (c == '\n')
            ++line;
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
            continue;
        }
        if (c == '"')
            inString = true;
        else if (c == '{' || c == '[') {
            if (depth == 1)
                lines.append(line);
            ++depth;
        } else if (c == '}' || c == ']')
            --depth;
    }
    return lines;
}

}  // namespace

std::optional<JsonArrayExport> readJsonArrayExport(const QByteArray& bytes, const QString& kind,
                                                   ImportRead& read) {
    const auto text = importText(bytes, read);
    if (!text)
        return std::nullopt;
    const QByteArray utf8 = text->toUtf8();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(utf8, &error);
    if (error.error != QJsonParseError::NoError) {
        read.problem(lineAtByte(utf8, error.offset),
                     QStringLiteral("Not the JSON of %1: %2.").arg(kind, error.errorString()));
        return std::nullopt;
    }
    if (!document.isArray()) {
        read.problem(1, QStringLiteral("Not the JSON of %1: an array is expected.").arg(kind));
        return std::nullopt;
    }
    return JsonArrayExport{document.array(), elementLines(utf8)};
}

}  // namespace tempolatch
