#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

namespace tempolatch {

class RecordStore;

class CharsetEncoder;
class EntryFilter;
class Settings;
class TimeEntry;

// The XML file of time entries: an ITEMS document with one ITEM per entry
// the criteria choose, in the character set the settings' `Encoding`
// value names.
class XmlExport {
public:
    // `Encoding` values of the settings (the Options sheet's order).
    enum Encoding : quint16 { Default = 0, Utf8, Utf16, Latin1, Big5, ShiftJis, EncodingCount };

    // The name the declaration gives; empty for Default, whose bytes are
    // UTF-8, what XML assumes without a name.
    static QString encodingName(quint16 encoding);

    explicit XmlExport(const Settings& settings);
    ~XmlExport();
    XmlExport(const XmlExport&) = delete;
    XmlExport& operator=(const XmlExport&) = delete;

    // Writes the whole document through `write`, one block of entries at a
    // time, so that memory stays bounded whatever the number of entries.
    // False as soon as a write fails.
    bool write(RecordStore& db, const EntryFilter& criteria,
               const std::function<bool(const QByteArray&)>& write);

    // The pieces, as text: the declaration and ITEMS start tag; one ITEM
    // block; the end tag.
    QString head() const;
    void appendItem(QString& out, const TimeEntry& entry) const;
    static QString tail();

    // The entries the last write put into the document.
    int written() const { return m_written; }

    // Text to the bytes of the chosen encoding (the UTF-16 byte order mark
    // comes with the head).
    QByteArray encode(const QString& text, bool first);

private:
    int m_written = 0;
    quint16 m_encoding;
    bool m_precise;
    std::unique_ptr<CharsetEncoder> m_encoder;
};

}  // namespace tempolatch
