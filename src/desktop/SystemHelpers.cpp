#include "desktop/SystemHelpers.h"

#include "desktop/CapsLockFromTyping.h"
#include "errortrap/Bulwark.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <cstdlib>
#include <unistd.h>

namespace {
QString withSeparator(const QString& folder)
{
    BW_TRACE("SystemHelpers.cpp", "Function withSeparator");
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

// Reads the Caps Lock toggle from the X server: the keyboard's "Caps Lock" indicator, or, on a keyboard
// without one, whether the Lock modifier is locked.
bool capsLockOnDisplay(Display* display)
{
    BW_TRACE("SystemHelpers.cpp", "Function capsLockOnDisplay");
    int opcode = 0, event = 0, error = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
    if (!XkbQueryExtension(display, &opcode, &event, &error, &major, &minor))
        return false;
    const Atom capsIndicator = XInternAtom(display, "Caps Lock", True);
    Bool on = False;
    if (capsIndicator != None && XkbGetNamedIndicator(display, capsIndicator, nullptr, &on, nullptr, nullptr))
        return on != False;
    XkbStateRec state{};
    if (XkbGetState(display, XkbUseCoreKbd, &state) != Success)
        return false;
    return (state.locked_mods & LockMask) != 0;
}
} // namespace

QString GetTempDir()
{
    BW_TRACE("SystemHelpers.cpp", "Function GetTempDir");
    // A $TMPDIR that is not a folder would otherwise come back empty, and the answer be "/".
    const QString folder = QDir::tempPath();
    return TrimNull(withSeparator(!folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QStringLiteral("/tmp")));
}

bool GetTempFile(const QString& folder, const QString& prefix, unsigned int unique, QString& name)
{
    BW_TRACE("SystemHelpers.cpp", "Function GetTempFile");
    name.clear();
    const QString dir = folder.isEmpty() ? GetTempDir() : withSeparator(folder);
    if (prefix.contains(QLatin1Char('/')) || !QFileInfo(dir).isDir())
        return false;
    if (unique != 0) {
        name = StripTerminator(dir + prefix + QString::number(unique & 0xFFFFu, 16).toUpper() + QStringLiteral(".tmp"));
        return true;
    }
    // mkstemps makes the name and the file in one step, mode 0600, so no one can take the name in between.
    QByteArray pattern = QFile::encodeName(dir + prefix + QStringLiteral("XXXXXX.tmp"));
    const int fd = ::mkstemps(pattern.data(), 4);
    if (fd < 0)
        return false;
    ::close(fd);
    name = StripTerminator(QFile::decodeName(pattern));
    return true;
}

QString GetTempFile(const QString& prefix)
{
    BW_TRACE("SystemHelpers.cpp", "Function GetTempFile");
    QString name;
    return GetTempFile(QString(), prefix, 0, name) ? name : QString();
}

QString TrimNull(const QString& s)
{
    BW_TRACE("SystemHelpers.cpp", "Function TrimNull");
    const qsizetype zero = s.indexOf(QChar(0));
    return zero < 0 ? s : s.left(zero);
}

QString StripTerminator(const QString& s)
{
    BW_TRACE("SystemHelpers.cpp", "Function StripTerminator");
    const qsizetype zero = s.indexOf(QChar(0));
    return zero < 0 ? s : s.left(zero);
}

bool CapsLockOn()
{
    BW_TRACE("SystemHelpers.cpp", "Function CapsLockOn");
    auto* x11 = qGuiApp && QGuiApplication::platformName() == QLatin1String("xcb")
                    ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                    : nullptr;
    if (Display* display = x11 ? x11->display() : nullptr)
        return capsLockOnDisplay(display);
    // The keyboard cannot be asked: what the typed letters tell, and off until they tell anything.
    return CapsLockFromTyping::state().value_or(false);
}
