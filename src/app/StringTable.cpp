#include "app/StringTable.h"

#include "errortrap/Bulwark.h"

#include <QHash>

namespace {

const QHash<int, QString>& table()
{
    static const QHash<int, QString> strings = {
        {1000, QStringLiteral("&File")},
        {1001, QStringLiteral("&New")},
        {1002, QStringLiteral("&Open...")},
        {1003, QStringLiteral("&Close")},
        {1004, QStringLiteral("&Save")},
        {1005, QStringLiteral("Save As...")},
        {1006, QStringLiteral("Propert&ies")},
        {1007, QStringLiteral("Page Set&up...")},
        {1008, QStringLiteral("Print Pre&view")},
        {1009, QStringLiteral("&Print...")},
        {1010, QStringLiteral("E&xit")},
        {1011, QStringLiteral("&Edit")},
        {1012, QStringLiteral("Cu&t")},
        {1013, QStringLiteral("&Copy")},
        {1014, QStringLiteral("&Paste")},
        {1015, QStringLiteral("&View")},
        {1016, QStringLiteral("&Toolbar")},
        {1017, QStringLiteral("Status &Bar")},
        {1018, QStringLiteral("&Options...")},
        {1019, QStringLiteral("&Help")},
        {1020, QStringLiteral("&Contents")},
        {1021, QStringLiteral("&Search For Help On...")},
        {1022, QStringLiteral("&About ")},
        {1023, QStringLiteral("New")},
        {1024, QStringLiteral("Open")},
        {1025, QStringLiteral("Save")},
        {1026, QStringLiteral("Print")},
        {1027, QStringLiteral("Cut")},
        {1028, QStringLiteral("Copy")},
        {1029, QStringLiteral("Paste")},
        {1030, QStringLiteral("Bold")},
        {1031, QStringLiteral("Italic")},
        {1032, QStringLiteral("Underline")},
        {1033, QStringLiteral("Align Left")},
        {1034, QStringLiteral("Center")},
        {1035, QStringLiteral("Align Right")},
        // Field labels of an about box.
        {1036, QStringLiteral("Product Name:")},
        {1037, QStringLiteral("Version:")},
        {1038, QStringLiteral("Copyright:")},
        {1039, QStringLiteral("Company:")},
        {1040, QStringLiteral("Description:")},
        {1041, QStringLiteral("Author:")},
        {1042, QStringLiteral("E-mail:")},
        {1043, QStringLiteral("Web Site:")},
        {1044, QStringLiteral("Lockwell Login")},
        {1045, QStringLiteral("Name:")},
        {1046, QStringLiteral("P/Word:")},
        {1047, QStringLiteral("OK")},
        {1048, QStringLiteral("Cancel")},
        {1049, QStringLiteral("Options")},
        {1050, QStringLiteral("Sample 1")},
        {1051, QStringLiteral("Sample 2")},
        {1052, QStringLiteral("Sample 3")},
        {1053, QStringLiteral("Sample 4")},
        {1054, QStringLiteral("&Save")},
        {1055, QStringLiteral("Cancel")},
        {1056, QStringLiteral("Use")},
        {1057, QStringLiteral("About Lockwell")},
        {1058, QStringLiteral("&System Info...")},
        {1059, QStringLiteral("OK")},
        {1060, QStringLiteral("Warning: ...")},
        {1061, QStringLiteral("Version")},
        {1062, QStringLiteral("Application Title")},
        {1063, QStringLiteral("App Description")},
        {1064, QStringLiteral("Back")},
        {1065, QStringLiteral("Forward")},
        {1066, QStringLiteral("Stop")},
        {1067, QStringLiteral("Refresh")},
        {1068, QStringLiteral("Home")},
        {1069, QStringLiteral("Search")},
        {1070, QStringLiteral("&Address:")},
        {1071, QStringLiteral("Add Account")},
        {1072, QStringLiteral("Delete Account")},
        {1074, QStringLiteral("New Data File")},
        {1075, QStringLiteral("Open With Password")},
        {1076, QStringLiteral("Update Account")},
        {1077, QStringLiteral("Lockwell")},
        {1078, QStringLiteral("Keep Window on Top")},
        {1079, QStringLiteral("Close Data File")},
        {1080, QStringLiteral("Options")},
        {1081, QStringLiteral("Help")},
        {1082, QStringLiteral("Information")},
        {kTitleBannerId, QStringLiteral("Lockwell Password Vault")},
    };
    return strings;
}

} // namespace

QString LoadResString(int id, bool* ok)
{
    BW_TRACE("StringTable.cpp", "Function LoadResString");
    const auto it = table().constFind(id);
    if (ok)
        *ok = it != table().constEnd();
    return it != table().constEnd() ? it.value() : QString();
}
