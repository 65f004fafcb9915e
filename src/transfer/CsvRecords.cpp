#include "transfer/CsvRecords.h"

namespace tempolatch {

namespace {

class CsvScanner {
public:
    CsvScanner(const QString& text, QChar separator) : m_text(text), m_separator(separator) {}

    // False at the end of the text, or when a quote is left open (then
    // `openQuoteLine` is set).
    bool next(CsvRecord& record, int& openQuoteLine) {
        skipBlankLines();
        if (m_pos >= m_text.size())
            return false;
        record = CsvRecord{m_line, {}};
        for (;;) {
            QString field;
            if (!readField(field, openQuoteLine))
                return false;
            record.fields.append(field);
            if (m_pos < m_text.size() && m_text.at(m_pos) == m_separator) {
                ++m_pos;
                continue;
            }
            endRecord();
            return true;
        }
    }

private:
    void skipBlankLines() {
        while (m_pos < m_text.size() && (m_text.at(m_pos) == u'\n' || m_text.at(m_pos) == u'\r')) {
            if (m_text.at(m_pos) == u'\n')
                ++m_line;
            ++m_pos;
        }
    }
    void endRecord() {
        if (m_pos < m_text.size() && m_text.at(m_pos) == u'\r')
            ++m_pos;
        if (m_pos < m_text.size() && m_text.at(m_pos) == u'\n') {
            ++m_pos;
            ++m_line;
        }
    }
    bool readField(QString& field, int& openQuoteLine) {
        if (m_pos < m_text.size() && m_text.at(m_pos) == u'"')
            return readQuoted(field, openQuoteLine);
        while (m_pos < m_text.size()) {
            const QChar c = m_text.at(m_pos);
            if (c == m_separator || c == u'\n' || c == u'\r')
                break;
            field.append(c);
            ++m_pos;
        }
        return true;
    }
    bool readQuoted(QString& field, int& openQuoteLine) {
        const int startLine = m_line;
        ++m_pos;
        while (m_pos < m_text.size()) {
            const QChar c = m_text.at(m_pos++);
            if (c == u'"') {
                if (m_pos < m_text.size() && m_text.at(m_pos) == u'"') {
                    field.append(c);
                    ++m_pos;
                    continue;
                }
                // Text after the closing quote belongs to the field, as
                // spreadsheets read it.
                QString rest;
                readField(rest, openQuoteLine);
                field.append(rest);
                return true;
            }
            if (c == u'\n')
                ++m_line;
            field.append(c);
        }
        openQuoteLine = startLine;
        return false;
    }

    const QString& m_text;
    QChar m_separator;
    qsizetype m_pos = 0;
    int m_line = 1;
};

}  // namespace

QList<CsvRecord> readCsvRecords(const QString& text, ImportRead& read, QChar separator) {
    QList<CsvRecord> records;
    CsvScanner scanner(text, separator);
    CsvRecord record;
    int openQuoteLine = 0;
    while (scanner.next(record, openQuoteLine))
        records.append(record);
    if (openQuoteLine > 0)
        read.problem(openQuoteLine,
                     QStringLiteral("A quoted field starts here and is never closed; the file "
                                    "is cut short or not CSV."));
    return records;
}

CsvColumns::CsvColumns(const QStringList& header) {
    for (const QString& name : header)
        m_header.append(name.trimmed());
}

int CsvColumns::indexOf(const QString& name) const {
    return int(m_header.indexOf(name));
}

int CsvColumns::indexOfAny(const QStringList& names) const {
    for (const QString& name : names)
        if (const int index = indexOf(name); index >= 0)
            return index;
    return -1;
}

int CsvColumns::indexStartingWith(const QString& prefix) const {
    for (int i = 0; i < m_header.size(); ++i)
        if (m_header.at(i).startsWith(prefix))
            return i;
    return -1;
}

QStringList CsvColumns::missing(const QStringList& required) const {
    QStringList lacking;
    for (const QString& name : required) {
        const QStringList either = name.split(QLatin1Char('|'));
        if (indexOfAny(either) < 0)
            lacking.append(
                either.size() == 1
                    ? name
                    : QStringLiteral("%1 (or %2)").arg(either.first(), either.mid(1).join(u'/')));
    }
    return lacking;
}

std::optional<CsvExport> readCsvExport(const QByteArray& bytes, const QStringList& required,
                                       const QString& kind, ImportRead& read) {
    const auto text = importText(bytes, read);
    if (!text)
        return std::nullopt;
    QList<CsvRecord> records = readCsvRecords(*text, read);
    if (records.isEmpty()) {
        if (read.problems.isEmpty())
            read.problem(1, QStringLiteral("The file is empty."));
        return std::nullopt;
    }
    const CsvRecord header = records.takeFirst();
    CsvExport file{CsvColumns(header.fields), records};
    const QStringList missing = file.columns.missing(required);
    if (!missing.isEmpty()) {
        read.problem(header.line, QStringLiteral("Not a %1: the header lacks the columns %2.")
                                      .arg(kind, missing.join(QStringLiteral(", "))));
        return std::nullopt;
    }
    return file;
}

std::optional<bool> yesOrNo(const QString& text) {
    const QString word = text.trimmed().toLower();
    if (word == QLatin1String("yes") || word == QLatin1String("true") || word == u'1')
        return true;
    if (word == QLatin1String("no") || word == QLatin1String("false") || word == u'0')
        return false;
    return std::nullopt;
}

QString csvField(const CsvRecord& record, int index) {
    if (index < 0 || index >= record.fields.size())
        return {};
    return record.fields.at(index).trimmed();
}

}  // namespace tempolatch
