#include "desktop/ErrorReporter.h"

#include "desktop/MessageBox.h"
#include "errortrap/Bulwark.h"
#include "errortrap/BwCatalogue.h"
#include "errortrap/DefaultReporter.h"

namespace {
BwReportAnswer reportInMessageBox(const BwErrorReport& report)
{
    BW_TRACE("ErrorReporter.cpp", "Function reportInMessageBox");
    MsgBox(bwErrorMessageText(report), vb::vbOKOnly | vb::vbCritical, bwMessage(BwMsg::ErrorIntercepted));
    return BwReportAnswer{BwAction::Leave, QString()};
}
} // namespace

void installMessageBoxReporter()
{
    BW_TRACE("ErrorReporter.cpp", "Sub installMessageBoxReporter");
    bwSetReporter(&reportInMessageBox);
}
