#include "login/OsUserName.h"

#include "errortrap/Bulwark.h"

#include <QtGlobal>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace {
constexpr int kMaxNameLength = 255;

QString accountName()
{
    BW_TRACE("OsUserName.cpp", "Function accountName");
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found || !found->pw_name)
        return QString();
    return QString::fromLocal8Bit(found->pw_name);
}
} // namespace

QString OsUserName()
{
    BW_TRACE("OsUserName.cpp", "Function OsUserName");
    // The login session's name comes first: it is what the user logged in to the desktop with.
    QString name = qEnvironmentVariable("USER");
    if (name.isEmpty())
        name = accountName();
    return name.left(kMaxNameLength);
}
