#pragma once
// The per-user settings store: application, section, key -> text.
//
// Backed by one INI file, "Tovane - Keyfold.conf", in the user's configuration folder
// ($XDG_CONFIG_HOME, else ~/.config), readable and writable by the user only. A section is a path of
// names joined by "\" ("Accounts\BOB\Settings"). Every write reaches the disk before it returns.
// Any text round-trips exactly, NUL, CR LF and every code-page character included.
#include <QString>

class SettingsStore
{
public:
    static const QString& applicationName(); // "Tovane - Keyfold"

    // The file behind the store, worked out from the environment at each call.
    static QString filePath();

    // The stored text, or defaultText when the key is absent. Never creates the file.
    static QString read(const QString& section, const QString& key, const QString& defaultText = QString());

    // Stores the text, creating the file (mode 0600), the section and the key as needed. A store that
    // cannot be written throws RuntimeError(75, "Path/File access error").
    static void write(const QString& section, const QString& key, const QString& text);

    // The store's address of a section and key: "Accounts\BOB\Settings", "PW" -> "Accounts/BOB/Settings/PW".
    static QString settingsKey(const QString& section, const QString& key);
};
