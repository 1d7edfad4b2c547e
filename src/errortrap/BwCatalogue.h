#pragma once
// The trap's fixed texts, by message number. Every text the trap shows or writes about itself comes from here.
#include <QString>

namespace BwMsg {
enum : int {
    EndProgram = 1,
    ModuleCaption = 19,
    NotInitialized = 21,
    TooDeep = 22,
    InternalErrorTitle = 24,
    InternalErrorHead = 25,
    InternalErrorTail = 26,
    ProcedureCaption = 30,
    StartProgram = 33,
    ErrorIntercepted = 34,
    UnbalancedProcedure = 48,
    PopWithoutPush = 49,
};
} // namespace BwMsg

// The text of message `number`; empty for a number the catalogue does not hold.
QString bwMessage(int number);

// "An internal error <number> has occurred in module ..., line <line>": how a failure inside the trap itself is
// reported. It never starts another error report.
QString bwInternalErrorText(int number, int line);
