#pragma once

#include <QByteArray>
#include <QString>
#include <span>
#include <variant>

#include "platform/FileTime.h"
#include "platform/Property.h"
#include "store/RecordValues.h"
#include "store/StoreIds.h"

namespace tempolatch {

// When a field is written: always, only with a value (no text, zero, no
// date, the first enum value count as none), or by the record's own rule.
// A field not written is left out of an add and removed by an update.
enum class Presence { Always, WhenSet, ByRule };

// One property of a record kind and the member it fills. The property id
// carries its type; a qint32 member is stored as UI2 or UI4 accordingly.
// The table's order is the order of an add.
template <typename Record>
struct RecordField {
    using Member = std::variant<QString Record::*, QByteArray Record::*,
                                platform::FileTime Record::*, qint32 Record::*, bool Record::*,
                                EntryStatus Record::*, RateType Record::*, ExpenseType Record::*>;

    quint32 id;
    Member member;
    Presence presence = Presence::WhenSet;
    bool (*rule)(const Record&) = nullptr;  // for Presence::ByRule
    // An update writes it behind every other field, before the change flags.
    bool lastOnUpdate = false;
};

namespace recordfields {

inline void assign(QString& to, const platform::Property& p) {
    to = p.text;
}
inline void assign(QByteArray& to, const platform::Property& p) {
    to = p.blob;
}
inline void assign(platform::FileTime& to, const platform::Property& p) {
    to = p.toFileTime();
}
inline void assign(qint32& to, const platform::Property& p) {
    to = platform::propTypeOf(p.id) == platform::PropUi2 ? qint32(p.toUi2()) : qint32(p.toUi4());
}
// Only a stored 1 is true; any other number reads as false.
inline void assign(bool& to, const platform::Property& p) {
    to = p.number == 1;
}
template <typename Enum>
void assign(Enum& to, const platform::Property& p) {
    to = Enum(p.toUi2());
}

inline bool isSet(const QString& v) {
    return !v.isEmpty();
}
inline bool isSet(const QByteArray& v) {
    return !v.isEmpty();
}
inline bool isSet(platform::FileTime v) {
    return !v.isNull();
}
inline bool isSet(qint32 v) {
    return v > 0;
}
inline bool isSet(bool v) {
    return v;
}
template <typename Enum>
bool isSet(Enum v) {
    return v != Enum{};
}

inline platform::Property property(quint32 id, const QString& v) {
    return platform::Property::string(id, v);
}
inline platform::Property property(quint32 id, const QByteArray& v) {
    return platform::Property::bytes(id, v);
}
inline platform::Property property(quint32 id, platform::FileTime v) {
    return platform::Property::fileTime(id, v);
}
inline platform::Property property(quint32 id, qint32 v) {
    return platform::propTypeOf(id) == platform::PropUi2 ? platform::Property::ui2(id, quint16(v))
                                                         : platform::Property::ui4(id, quint32(v));
}
inline platform::Property property(quint32 id, bool v) {
    return platform::Property::boolean(id, v);
}
template <typename Enum>
platform::Property property(quint32 id, Enum v) {
    return platform::Property::ui2(id, quint16(v));
}

// Sets the member of a property that is one of the fields (or the change
// flags); false when it is none of them.
template <typename Record>
bool read(Record& record, const platform::Property& p,
          std::span<const RecordField<Record>> fields) {
    if (p.id == prop::ChangeFlags) {
        record.changeFlags = p.toUi2();
        return true;
    }
    for (const RecordField<Record>& f : fields) {
        if (f.id == p.id) {
            std::visit([&](auto member) { assign(record.*member, p); }, f.member);
            return true;
        }
    }
    return false;
}

// The properties of an add or an update, ending with the change flags.
template <typename Record>
platform::PropertyList write(const Record& record, std::span<const RecordField<Record>> fields,
                             bool forUpdate, quint16 changeFlags) {
    platform::PropertyList props;
    props.reserve(qsizetype(fields.size()) + 1);
    auto append = [&](const RecordField<Record>& f) {
        std::visit(
            [&](auto member) {
                const auto& value = record.*member;
                const bool present = f.presence == Presence::Always ||
                                     (f.presence == Presence::WhenSet && isSet(value)) ||
                                     (f.presence == Presence::ByRule && f.rule(record));
                if (present)
                    props.append(property(f.id, value));
                else if (forUpdate)
                    props.append(platform::Property::remove(f.id));
            },
            f.member);
    };
    for (const RecordField<Record>& f : fields)
        if (!forUpdate || !f.lastOnUpdate)
            append(f);
    if (forUpdate)
        for (const RecordField<Record>& f : fields)
            if (f.lastOnUpdate)
                append(f);
    props.append(platform::Property::ui2(prop::ChangeFlags, changeFlags));
    return props;
}

}  // namespace recordfields

}  // namespace tempolatch
