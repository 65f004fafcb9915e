#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

#include "platform/FileTime.h"
#include "platform/Utf8Text.h"

namespace tempolatch::platform {

// Value types of record properties; a property id is (number << 16) | type.
enum PropType : quint16 {
    PropBool = 0x0B,
    PropUi2 = 0x12,
    PropUi4 = 0x13,
    PropText = 0x1F,
    PropFileTime = 0x40,
    PropBlob = 0x41,
};

constexpr quint16 propTypeOf(quint32 propId) {
    return quint16(propId & 0xFFFF);
}
constexpr quint32 makePropId(quint16 number, PropType type) {
    return (quint32(number) << 16) | type;
}
bool isKnownPropType(quint16 type);
QString propTypeName(quint16 type);

// Flag on a property passed to a write: remove it from the record.
constexpr quint16 PropDeleteFlag = 0x0200;

// One typed property value. Numbers (UI2, UI4, BOOL, FILETIME) share `number`.
struct Property {
    quint32 id = 0;
    quint16 flags = 0;
    quint64 number = 0;
    QString text;
    QByteArray blob;

    quint16 type() const { return propTypeOf(id); }
    bool isDelete() const { return flags & PropDeleteFlag; }

    quint16 toUi2() const { return quint16(number); }
    quint32 toUi4() const { return quint32(number); }
    bool toBool() const { return number != 0; }
    FileTime toFileTime() const { return FileTime{number}; }

    static Property ui2(quint32 id, quint16 value) { return {id, 0, value, {}, {}}; }
    static Property ui4(quint32 id, quint32 value) { return {id, 0, value, {}, {}}; }
    static Property boolean(quint32 id, bool value) { return {id, 0, value ? 1u : 0u, {}, {}}; }
    static Property fileTime(quint32 id, FileTime value) { return {id, 0, value.ticks, {}, {}}; }
    static Property string(quint32 id, const QString& value) { return {id, 0, 0, value, {}}; }
    static Property bytes(quint32 id, const QByteArray& value) { return {id, 0, 0, {}, value}; }
    static Property remove(quint32 id) { return {id, PropDeleteFlag, 0, {}, {}}; }

    bool operator==(const Property&) const = default;
};

using PropertyList = QList<Property>;

const Property* findProperty(const PropertyList& props, quint32 id);

// The compact stored form of a record's properties. Decoding checks every
// length against what remains, so a damaged record reads as a failure.
QByteArray encodeProperties(const PropertyList& props);
std::optional<PropertyList> decodeProperties(const QByteArray& bytes);

// Human-readable value, as the diagnostics print it.
QString describeValue(const Property& prop);
// The same as UTF-8, appended to `out`: for writers of many values.
void appendValueText(const Property& prop, Utf8Text& out);
// A text in double quotes with \\, \", \n and \r escaped, as UTF-8.
void appendQuotedText(QStringView text, Utf8Text& out);
// UTF-8 of `text` appended to `out`, without a temporary for ASCII text.
void appendUtf8(QStringView text, Utf8Text& out);
// Decimal digits of `value` appended to `out`.
void appendNumber(quint64 value, Utf8Text& out);

}  // namespace tempolatch::platform
