#include "app/ProgramSettings.h"

#include "app/LoginValues.h"
#include "app/SettingsStore.h"
#include "app/TextForms.h"
#include "errortrap/Bulwark.h"

bool PeekOn = true;
qint16 PeekTime = 10;
bool TimeoutOn = true;
qint16 TimeoutTime = 5;
bool KeepOnTop = false;
bool AutoLoad = true;
QString DBpath;
bool EncryptSetting = false;
float ColAccount = 0.0F;
float ColURL = 0.0F;
bool ShowNew = false;
bool EmptyFile = false;
float MainLeft = 1000.0F;
float MainTop = 1000.0F;
float MainWidth = 0.0F;
float MainHeight = 0.0F;

namespace {

const char* const kModule = "ProgramSettings.cpp";

// Reads one key as the store does: the default turned into text when the key is absent, then the
// text converted. A text the conversion cannot read goes to the error trap; unless the answer is to
// retry, the variable keeps the default.
template <class T>
void readKey(const QString& section, const char* key, T& variable, const T& fallback, QString (*toText)(T),
             T (*fromText)(const QString&))
{
    variable = fallback;
    for (;;) {
        try {
            variable = fromText(SettingsStore::read(section, QString::fromLatin1(key), toText(fallback)));
            return;
        } catch (const RuntimeError& e) {
            if (bwERROR(QStringLiteral("Sub loadAtStart"), QString::fromLatin1(kModule), e) != BwAction::Retry)
                return;
        }
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
    if (static_cast<double>(ColAccount) + static_cast<double>(ColURL) > width - 299.1) {
        const auto fitted = static_cast<float>(width * 0.5 - 150.1);
        ColAccount = fitted;
        ColURL = fitted;
    }
}

void ProgramSettings::loadAtStart(const QString& user, float gridWidth)
{
    BW_TRACE("ProgramSettings.cpp", "Sub loadAtStart");
    const QString section = userSettingsSection(user);
    readSingle(section, "MainLeft", MainLeft, 1000.0F);
    readSingle(section, "MainTop", MainTop, 1000.0F);
    readBoolean(section, "PeekOn", PeekOn, true);
    readInteger(section, "PeekTime", PeekTime, 10);
    readBoolean(section, "TimeoutOn", TimeoutOn, true);
    readInteger(section, "TimeoutTime", TimeoutTime, 5);
    readBoolean(section, "KeepOnTop", KeepOnTop, false);
    readBoolean(section, "AutoLoad", AutoLoad, true);
    readText(section, "DBpath", DBpath);
    readBoolean(section, "Encrypt", EncryptSetting, false);
    const float columnDefault = defaultColumnWidth(gridWidth);
    readSingle(section, "ColAccount", ColAccount, columnDefault);
    readSingle(section, "ColURL", ColURL, columnDefault);
    fitColumnWidths(gridWidth);
    readBoolean(section, "ShowNew", ShowNew, false);
    readBoolean(section, "EmptyFile", EmptyFile, false);
}

void ProgramSettings::saveAtExit(const QString& user, float left, float top, float width, float height)
{
    BW_TRACE("ProgramSettings.cpp", "Sub saveAtExit");
    const QString section = userSettingsSection(user);
    MainLeft = left;
    MainTop = top;
    MainWidth = width;
    MainHeight = height;
    write(section, "MainLeft", TextForms::fromSingle(MainLeft));
    write(section, "MainTop", TextForms::fromSingle(MainTop));
    write(section, "MainWidth", TextForms::fromSingle(MainWidth));
    write(section, "MainHeight", TextForms::fromSingle(MainHeight));
    write(section, "DBpath", DBpath);
    write(section, "Encrypt", TextForms::fromBoolean(EncryptSetting));
    write(section, "ColAccount", TextForms::fromSingle(ColAccount));
    write(section, "ColURL", TextForms::fromSingle(ColURL));
    write(section, "ShowNew", TextForms::fromBoolean(ShowNew));
    write(section, "EmptyFile", TextForms::fromBoolean(EmptyFile));
}

void ProgramSettings::saveOptions(const QString& user)
{
    BW_TRACE("ProgramSettings.cpp", "Sub saveOptions");
    const QString section = userSettingsSection(user);
    write(section, "PeekOn", TextForms::fromBoolean(PeekOn));
    write(section, "PeekTime", TextForms::fromInteger(PeekTime));
    write(section, "TimeoutOn", TextForms::fromBoolean(TimeoutOn));
    write(section, "TimeoutTime", TextForms::fromInteger(TimeoutTime));
    write(section, "AutoLoad", TextForms::fromBoolean(AutoLoad));
    write(section, "KeepOnTop", TextForms::fromBoolean(KeepOnTop));
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
