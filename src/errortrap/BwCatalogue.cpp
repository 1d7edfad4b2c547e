#include "errortrap/BwCatalogue.h"

QString bwMessage(int number)
{
    switch (number) {
    case BwMsg::EndProgram:
        return QStringLiteral("] END PROGRAM ");
    case BwMsg::ModuleCaption:
        return QStringLiteral("Module    ");
    case BwMsg::NotInitialized:
        return QStringLiteral("The error handler was not initialized before a call to 'bwPOP()' was made.");
    case BwMsg::TooDeep:
        return QStringLiteral(
            "The program is too deeply nested. The error handler can only handle 1000 levels of recursion.");
    case BwMsg::InternalErrorTitle:
        return QStringLiteral(" - Internal Error Handler");
    case BwMsg::InternalErrorHead:
        return QStringLiteral("An internal error ");
    case BwMsg::InternalErrorTail:
        return QStringLiteral(" has occurred in module BULWARK.BAS, procedure pfErr(), line ");
    case BwMsg::ProcedureCaption:
        return QStringLiteral("Procedure");
    case BwMsg::StartProgram:
        return QStringLiteral("START PROGRAM");
    case BwMsg::ErrorIntercepted:
        return QStringLiteral("Program Error Intercepted");
    case BwMsg::UnbalancedProcedure:
        return QStringLiteral("Procedure is unbalanced or contains calls to unbalanced routines. ");
    case BwMsg::PopWithoutPush:
        return QStringLiteral("'bwPOP()' was called without 'bwPUSH()'. ");
    default:
        return QString();
    }
}

QString bwInternalErrorText(int number, int line)
{
    return bwMessage(BwMsg::InternalErrorHead) + QString::number(number) + bwMessage(BwMsg::InternalErrorTail) +
           QString::number(line);
}
