#include "transfer/BackupFile.h"

#include "platform/compound/CompoundFile.h"
#include "store/DataUpgrade.h"
#include "store/ExpenseEntry.h"
#include "store/Rate.h"
#include "store/TimeEntry.h"

namespace tempolatch {

using platform::CompoundStream;
using platform::FileTime;

namespace {

bool writeStrings(CompoundStream& s, std::initializer_list<const QString*> texts) {
    for (const QString* text : texts) {
        if (!s.writeString(*text))
            return false;
    }
    return true;
}

bool readStrings(CompoundStream& s, std::initializer_list<QString*> texts) {
    for (QString* text : texts) {
        if (!s.readString(*text))
            return false;
    }
    return true;
}

// A time other than "none" is brought into the range the program shows: a
// damaged file must not put an entry where no list, export or report finds
// it, nor at the end of time, where adding its duration overflows.
bool readFileTime(CompoundStream& s, FileTime& time) {
    if (!s.readUInt64(time.ticks))
        return false;
    if (!time.isNull())
        time = time.clampedToShown();
    return true;
}

// The date of an entry or an expense, which cannot be "none".
bool readRecordDate(CompoundStream& s, FileTime& date) {
    if (!readFileTime(s, date))
        return false;
    date = date.clampedToShown();
    return true;
}

}  // namespace

bool BackupFile::writeEntry(CompoundStream& s, const TimeEntry& e) {
    return s.writeUInt16(quint16(e.status)) && s.writeUInt64(e.date.ticks) &&
           writeStrings(s, {&e.client, &e.project, &e.phase, &e.task, &e.currency}) &&
           s.writeInt32(e.duration) && s.writeInt32(e.breakTime) && s.writeInt32(e.rate) &&
           s.writeUInt16(quint16(e.rateType)) && s.writeUInt64(e.paidDate.ticks) &&
           writeStrings(s, {&e.billTo, &e.custom1, &e.custom2, &e.custom3}) &&
           s.writeUInt64(e.modified.ticks) && s.writeInt32(e.noteSize()) &&
           (e.note.isEmpty() || s.writeBytes(e.note));
}

bool BackupFile::readEntry(CompoundStream& s, quint32 version, FileTime now, TimeEntry& e) {
    e = TimeEntry();
    if (version > LastWithFlagBytes) {
        quint16 status = 0;
        if (!s.readUInt16(status))
            return false;
        e.status = EntryStatus(status);
    } else {
        quint8 billable = 0;
        quint8 paid = 0;
        if (!s.readUInt8(billable) || !s.readUInt8(paid))
            return false;
        // Paid wins: a paid entry was billable too.
        e.status = paid != 0       ? EntryStatus::Paid
                   : billable != 0 ? EntryStatus::Billable
                                   : EntryStatus::NonBillable;
    }
    if (!readRecordDate(s, e.date) ||
        !readStrings(s, {&e.client, &e.project, &e.phase, &e.task, &e.currency}) ||
        !s.readInt32(e.duration))
        return false;
    if (version >= FirstWithBreak && !s.readInt32(e.breakTime))
        return false;
    if (!s.readInt32(e.rate))
        return false;
    if (version > LastWithFlagBytes) {
        quint16 rateType = 0;
        if (!s.readUInt16(rateType) || !readFileTime(s, e.paidDate))
            return false;
        e.rateType = RateType(rateType);
    } else {
        quint32 rateType = 0;
        if (!s.readUInt32(rateType))
            return false;
        e.rateType = RateType(quint16(rateType & 0xFFFF));
    }
    if (!readStrings(s, {&e.billTo, &e.custom1, &e.custom2, &e.custom3}))
        return false;
    if (version >= FirstWithModified) {
        if (!readFileTime(s, e.modified))
            return false;
        if (e.modified.isNull())
            e.modified = now;
    }
    qint32 noteSize = 0;
    if (!s.readInt32(noteSize))
        return false;
    return noteSize < 1 || s.readBytes(noteSize, e.note);
}

bool BackupFile::writeExpense(CompoundStream& s, const ExpenseEntry& e) {
    return s.writeUInt16(quint16(e.status)) && s.writeUInt16(quint16(e.type)) &&
           s.writeUInt64(e.date.ticks) &&
           writeStrings(s, {&e.description, &e.client, &e.project}) &&
           s.writeInt32(e.startOdometer) && s.writeInt32(e.distance) &&
           s.writeUInt16(e.receipt ? 1 : 0) && s.writeString(e.currency) &&
           s.writeInt32(e.amount) && s.writeUInt64(e.paidDate.ticks) &&
           writeStrings(s, {&e.billTo, &e.custom1, &e.custom2, &e.category}) &&
           s.writeUInt64(e.modified.ticks) && s.writeString(e.note);
}

bool BackupFile::readExpense(CompoundStream& s, FileTime now, ExpenseEntry& e) {
    e = ExpenseEntry();
    quint16 status = 0;
    quint16 type = 0;
    quint16 receipt = 0;
    if (!s.readUInt16(status) || !s.readUInt16(type) || !readRecordDate(s, e.date) ||
        !readStrings(s, {&e.description, &e.client, &e.project}) || !s.readInt32(e.startOdometer) ||
        !s.readInt32(e.distance) || !s.readUInt16(receipt) || !s.readString(e.currency) ||
        !s.readInt32(e.amount) || !readFileTime(s, e.paidDate) ||
        !readStrings(s, {&e.billTo, &e.custom1, &e.custom2, &e.category}) ||
        !readFileTime(s, e.modified) || !s.readString(e.note))
        return false;
    e.status = EntryStatus(status);
    e.type = ExpenseType(type);
    e.receipt = receipt == 1;
    if (e.modified.isNull())
        e.modified = now;
    return true;
}

bool BackupFile::writeRate(CompoundStream& s, const Rate& rate) {
    return s.writeUInt32(quint32(rate.rateType)) && s.writeUInt32(quint32(rate.rate)) &&
           s.writeString(rate.description) && s.writeUInt8(rate.flag ? 1 : 0) &&
           s.writeUInt64(rate.modified.ticks);
}

bool BackupFile::readRate(CompoundStream& s, quint32 version, FileTime now, Rate& rate) {
    rate = Rate();
    quint32 rateType = 0;
    quint32 value = 0;
    quint8 flag = 0;
    if (!s.readUInt32(rateType) || !s.readUInt32(value) || !s.readString(rate.description) ||
        !s.readUInt8(flag))
        return false;
    rate.rateType = RateType(quint16(rateType));
    rate.rate = qint32(value);
    rate.flag = flag == 1;
    if (version >= FirstWithModified) {
        if (!readFileTime(s, rate.modified))
            return false;
        if (rate.modified < DataUpgrade::cutOff())
            rate.modified = now;
    }
    return true;
}

}  // namespace tempolatch
