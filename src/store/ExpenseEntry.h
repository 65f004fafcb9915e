#pragma once

#include <QString>

#include "platform/FileTime.h"
#include "platform/Property.h"
#include "store/Databases.h"
#include "store/RecordValues.h"
#include "store/StoreIds.h"
#include "store/StoredRecord.h"

namespace tempolatch {

// One cost booked against a client, a record of "Tempolatch Expenses":
// a general expense (an amount, a category) or a mileage expense (odometer,
// distance and a rate per distance unit).
class ExpenseEntry : public StoredRecord {
public:
    qint32 amount = 0;  // hundredths: the amount, or for mileage the rate per unit
    platform::FileTime modified;
    quint16 changeFlags = 0;
    EntryStatus status = EntryStatus::NonBillable;
    QString description;
    QString client;
    QString project;
    QString currency;
    QString billTo;
    QString custom1;
    QString custom2;
    QString category;  // general expenses only
    QString note;
    platform::FileTime date;
    platform::FileTime paidDate;
    qint32 startOdometer = 0;  // mileage only
    qint32 distance = 0;       // mileage only
    bool receipt = false;
    ExpenseType type = ExpenseType::General;

    void clear() { *this = ExpenseEntry(); }
    bool isMileage() const { return type == ExpenseType::Mileage; }

    // The expense as stored in these properties; unknown ones are ignored.
    // The record id is left as it is.
    void setFromProperties(const platform::PropertyList& props);

    platform::PropertyList propertiesForAdd(quint16 changeFlags) const override;
    platform::PropertyList propertiesForUpdate(quint16 changeFlags) const override;
    bool hasChangeFlags() const override { return true; }
    // The amount is kept as an unsigned number: a negative one would come
    // back as nothing.
    bool isStorable() const override { return amount >= 0; }

    // In currency units: the amount, or for mileage rate x distance.
    double totalAmount() const;
    qint32 endOdometer() const { return startOdometer + distance; }

    bool operator==(const ExpenseEntry&) const = default;
};

}  // namespace tempolatch
