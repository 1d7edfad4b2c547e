#include "login/CapsLockSeam.h"

#include "desktop/SystemHelpers.h"
#include "errortrap/Bulwark.h"

namespace {
std::optional<bool> g_pinned;
}

bool loginCapsLockOn()
{
    BW_TRACE("CapsLockSeam.cpp", "Function loginCapsLockOn");
    return g_pinned ? *g_pinned : CapsLockOn();
}

void CapsLockSeam::pin(std::optional<bool> on)
{
    BW_TRACE("CapsLockSeam.cpp", "Sub pin");
    g_pinned = on;
}
