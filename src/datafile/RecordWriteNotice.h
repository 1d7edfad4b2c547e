#pragma once
// What the user is told when a record cannot be written or deleted: which record, and why, in plain words.
// The record stays current and its change pending, so nothing typed is lost; a later move writes it. When
// another window or program changed or deleted the record meanwhile, the user is asked which version wins.
#include "errortrap/Bulwark.h"
#include "storage/RecordWriteError.h"

class DataControl;

namespace RecordWriteNotice {

// Tells the user about a record that was not written or deleted; for a change that met another writer's,
// asks whether to write it over the other one (Yes) or drop it (No), and does so.
void handle(const RecordWriteError& error, DataControl& control);

// At shut-down: the record could not be written. True when the user chooses to close anyway, losing it.
bool closeAnyway(const RecordWriteError& error, DataControl& control);

} // namespace RecordWriteNotice

// Runs an event handler's body under the error trap, as bwHandler does, except that a record the record set
// could not write or delete is no program error: RecordWriteNotice tells the user.
template <class Body> void recordHandler(const char* module, const char* procedure, DataControl& control, Body&& body)
{
    bwHandler(module, procedure, [&] {
        try {
            body();
        } catch (const RecordWriteError& error) {
            RecordWriteNotice::handle(error, control);
        }
    });
}
