#pragma once

#include <QtGlobal>

namespace tempolatch {

namespace platform {
class Registry;
}

// The invoice number sequence: the number the next invoice takes, kept in
// the registry apart from the other settings and read and moved on there
// at the moment it is used, so that a window and a script writing invoices
// at the same time never print the same number.
namespace invoicenumbers {

// The next number; 0 when no sequence is set.
quint32 next(const platform::Registry& registry);
// Sets the next number (Options); 0 ends the sequence.
bool setNext(platform::Registry& registry, quint32 number);
// Takes the next number for an invoice about to be written and moves the
// sequence on, in one transaction; 0 (nothing taken) when no sequence is
// set or the registry cannot be written.
quint32 take(platform::Registry& registry);
// Gives back a number whose invoice was not written, so that the sequence
// moves on only with invoices written. When another number was taken since,
// the number stays unused rather than risk it twice.
void giveBack(platform::Registry& registry, quint32 number);

}  // namespace invoicenumbers
}  // namespace tempolatch
