#include "app/ProgramSettings.h"

#include "app/LoginValues.h"
#include "app/SettingsStore.h"
#include "app/TextForms.h"
#include "errortrap/Bulwark.h"

ProgramOptions Options;

namespace {

const char* const kModule = "ProgramSettings.cpp";

// Reads one key as the store does: the default turned into text when the key is absent, then the
// text converted. A text the conversion cannot read goes to the error trap, named by its key and the
// file it is in; unless the answer is to retry, the variable keeps the default and the default is
// stored in its place.
template <class T>
void readKey(const QString& section, const char* key, T& variable, const T& fallback, QString (*toText)(T),
             T (*fromText)(const QString&))
{
    variable = fallback;
    const QString name = QString::fromLatin1(key);
    for (;;) {
        try {
            variable = fromText(SettingsStore::read(section, name, toText(fallback)));
            return;
        } catch (const RuntimeError& e) {
            const RuntimeError named(e.number(),
                                     e.description() + QStringLiteral(": the setting \"") + name +
                                         QStringLiteral("\" of ") + section + QStringLiteral(" in ") +
                                         SettingsStore::filePath() +
                                         QStringLiteral(" cannot be read; its default takes its place"),
                                     e.source());
            if (bwERROR(QStringLiteral("Sub loadAtStart"), QString::fromLatin1(kModule), named) != BwAction::Retry)
                break;
        }
    }
    try {
        SettingsStore::write(section, name, toText(fallback));
    } catch (const RuntimeError&) {
        // A store that cannot be written keeps the unreadable text; the default is in use all the same.
    }
}

void readBoolean(const QString& section, const char* key, bool& variable, bool fallback)
{
    readKey<bool>(section, key, variable, fallback, TextForms::fromBoolean, TextForms::toBoolean);
}

void readInteger(const QString& section, const char* key, qint16& variable, qint16 fallback)
{
    readKey<qint16>(section, key, variable, fallback, TextForms::fromInteger, TextForms::toInteger);
}

void readSingle(const QString& section, const char* key, float& variable, float fallback)
{
    readKey<float>(section, key, variable, fallback, TextForms::fromSingle, TextForms::toSingle);
}

void readText(const QString& section, const char* key, QString& variable)
{
    variable = SettingsStore::read(section, QString::fromLatin1(key), QString());
}

void write(const QString& section, const char* key, const QString& text)
{
    SettingsStore::write(section, QString::fromLatin1(key), text);
}

QString checkedUpperName(const QString& user)
{
    if (!isValidUserName(user))
        throw RuntimeError(BwErr::InvalidProcedureCall, QStringLiteral("Invalid procedure call or argument"));
    return upperCaseUserName(user);
}

} // namespace

bool isValidUserName(const QString& name)
{
    BW_TRACE("ProgramSettings.cpp", "Function isValidUserName");
    return !name.isEmpty() && !name.contains(QLatin1Char('\\')) && !name.contains(QLatin1Char('/'));
}

QString ProgramSettings::lastLoginSection()
{
    BW_TRACE("ProgramSettings.cpp", "Function lastLoginSection");
    return QStringLiteral("LastLogin");
}

QString ProgramSettings::accountSection(const QString& user)
{
    BW_TRACE("ProgramSettings.cpp", "Function accountSection");
    return QStringLiteral("Accounts\\") + checkedUpperName(user);
}

QString ProgramSettings::userSettingsSection(const QString& user)
{
    BW_TRACE("ProgramSettings.cpp", "Function userSettingsSection");
    return accountSection(user) + QStringLiteral("\\Settings");
}

float ProgramSettings::defaultColumnWidth(float gridWidth)
{
    BW_TRACE("ProgramSettings.cpp", "Function defaultColumnWidth");
    return static_cast<float>(static_cast<double>(gridWidth) * 0.5 - 60.1);
}

void ProgramSettings::fitColumnWidths(float gridWidth)
{
    BW_TRACE("ProgramSettings.cpp", "Sub fitColumnWidths");
    const double width = gridWidth;
    if (static_cast<double>(Options.ColAccount) + static_cast<double>(Options.ColURL) > width - 299.1) {
        const auto fitted = static_cast<float>(width * 0.5 - 150.1);
        Options.ColAccount = fitted;
        Options.ColURL = fitted;
    }
}

void ProgramSettings::loadAtStart(const QString& user, float gridWidth)
{
    BW_TRACE("ProgramSettings.cpp", "Sub loadAtStart");
    const QString section = userSettingsSection(user);
    readSingle(section, "MainLeft", Options.MainLeft, 1000.0F);
    readSingle(section, "MainTop", Options.MainTop, 1000.0F);
    readBoolean(section, "PeekOn", Options.PeekOn, true);
    readInteger(section, "PeekTime", Options.PeekTime, 10);
    readBoolean(section, "TimeoutOn", Options.TimeoutOn, true);
    readInteger(section, "TimeoutTime", Options.TimeoutTime, 5);
    readBoolean(section, "KeepOnTop", Options.KeepOnTop, false);
    readBoolean(section, "AutoLoad", Options.AutoLoad, true);
    readText(section, "DBpath", Options.DBpath);
    readBoolean(section, "Encrypt", Options.Encrypt, false);
    const float columnDefault = defaultColumnWidth(gridWidth);
    readSingle(section, "ColAccount", Options.ColAccount, columnDefault);
    readSingle(section, "ColURL", Options.ColURL, columnDefault);
    fitColumnWidths(gridWidth);
    readBoolean(section, "ShowNew", Options.ShowNew, false);
    readBoolean(section, "EmptyFile", Options.EmptyFile, false);
}

void ProgramSettings::saveAtExit(const QString& user, float left, float top, float width, float height)
{
    BW_TRACE("ProgramSettings.cpp", "Sub saveAtExit");
    const QString section = userSettingsSection(user);
    Options.MainLeft = left;
    Options.MainTop = top;
    Options.MainWidth = width;
    Options.MainHeight = height;
    write(section, "MainLeft", TextForms::fromSingle(Options.MainLeft));
    write(section, "MainTop", TextForms::fromSingle(Options.MainTop));
    write(section, "MainWidth", TextForms::fromSingle(Options.MainWidth));
    write(section, "MainHeight", TextForms::fromSingle(Options.MainHeight));
    write(section, "DBpath", Options.DBpath);
    write(section, "Encrypt", TextForms::fromBoolean(Options.Encrypt));
    write(section, "ColAccount", TextForms::fromSingle(Options.ColAccount));
    write(section, "ColURL", TextForms::fromSingle(Options.ColURL));
    write(section, "ShowNew", TextForms::fromBoolean(Options.ShowNew));
    write(section, "EmptyFile", TextForms::fromBoolean(Options.EmptyFile));
}

void ProgramSettings::saveOptions(const QString& user)
{
    BW_TRACE("ProgramSettings.cpp", "Sub saveOptions");
    const QString section = userSettingsSection(user);
    write(section, "PeekOn", TextForms::fromBoolean(Options.PeekOn));
    write(section, "PeekTime", TextForms::fromInteger(Options.PeekTime));
    write(section, "TimeoutOn", TextForms::fromBoolean(Options.TimeoutOn));
    write(section, "TimeoutTime", TextForms::fromInteger(Options.TimeoutTime));
    write(section, "AutoLoad", TextForms::fromBoolean(Options.AutoLoad));
    write(section, "KeepOnTop", TextForms::fromBoolean(Options.KeepOnTop));
}

QString ProgramSettings::lastLoginName()
{
    BW_TRACE("ProgramSettings.cpp", "Function lastLoginName");
    return SettingsStore::read(lastLoginSection(), QStringLiteral("Name"), QString());
}

void ProgramSettings::setLastLoginName(const QString& user)
{
    BW_TRACE("ProgramSettings.cpp", "Sub setLastLoginName");
    SettingsStore::write(lastLoginSection(), QStringLiteral("Name"), checkedUpperName(user));
}

QString ProgramSettings::verifierOf(const QString& user)
{
    BW_TRACE("ProgramSettings.cpp", "Function verifierOf");
    return SettingsStore::read(accountSection(user), QStringLiteral("PW"), QString());
}

void ProgramSettings::setVerifierOf(const QString& user, const QString& verifier)
{
    BW_TRACE("ProgramSettings.cpp", "Sub setVerifierOf");
    SettingsStore::write(accountSection(user), QStringLiteral("PW"), verifier);
}
