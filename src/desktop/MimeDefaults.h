#pragma once
// Which application the desktop registers for a MIME type.
#include <QString>
#include <QStringList>

namespace mimedefaults {
// The desktop file ids named for mimeType, best first, from the desktop's association files:
// [Default Applications] of every mimeapps.list (desktop-specific ones first) in the configuration and
// applications folders, then their [Added Associations], then defaults.list and mimeinfo.cache.
QStringList associatedDesktopIds(const QString& mimeType);

// What `xdg-mime query default mimeType` answers; "" when xdg-mime is missing, fails or says nothing.
QString xdgMimeDefault(const QString& mimeType);

// The desktop entry file of the application that opens mimeType: xdg-mime's answer first, then the
// association files; the first id whose entry is installed wins. "" when there is none.
QString defaultDesktopFile(const QString& mimeType);
} // namespace mimedefaults
