#include "mainwindow/CommandStates.h"

#include "errortrap/Bulwark.h"
#include "storage/Recordset.h"

namespace {
constexpr char kModule[] = "CommandStates.cpp";

QList<CommandStates::Setting> all(const QStringList& controls, bool enabled)
{
    QList<CommandStates::Setting> settings;
    settings.reserve(controls.size());
    for (const QString& control : controls)
        settings.append({control, enabled});
    return settings;
}
} // namespace

RecordState CommandStates::stateOf(const Recordset* records)
{
    BW_TRACE(kModule, "Function stateOf");
    if (!records || !records->hasActiveConnection())
        return RecordState::NoFile;
    return records->recordCount() == 0 ? RecordState::EmptyFile : RecordState::FileWithRecords;
}

QList<CommandStates::Setting> CommandStates::recordCommands(RecordState state)
{
    BW_TRACE(kModule, "Function recordCommands");
    const bool open = state != RecordState::NoFile;
    const bool records = state == RecordState::FileWithRecords;
    return all({QStringLiteral("mnuAddEntry"), QStringLiteral("cmdAdd")}, open) +
           all({QStringLiteral("mnuDeleteEntry"), QStringLiteral("cmdClear"), QStringLiteral("cmdRP")}, records) +
           all({QStringLiteral("Adodc1")}, records);
}

QList<CommandStates::Setting> CommandStates::fileCommands(RecordState state)
{
    BW_TRACE(kModule, "Function fileCommands");
    const bool open = state != RecordState::NoFile;
    return all({QStringLiteral("mnuFileOpen"), QStringLiteral("mnuOpenSpecial"), QStringLiteral("mnuNewDB"),
                QStringLiteral("tbToolBar:Open"), QStringLiteral("imgTBopen"), QStringLiteral("imgTBunlock"),
                QStringLiteral("imgTBnew")},
               !open) +
           all({QStringLiteral("mnuFileClose"), QStringLiteral("mnuFileSaveAs"), QStringLiteral("mnuFilePrint"),
                QStringLiteral("tbToolBar:SaveAs"), QStringLiteral("tbToolBar:Print"), QStringLiteral("imgTBsave"),
                QStringLiteral("imgTBprint"), QStringLiteral("imgTBclose")},
               open) +
           // Import and Export sit beside them, enabled as they are.
           all({QStringLiteral("mnuFileImport"), QStringLiteral("mnuFileExport"), QStringLiteral("imgTBimport"),
                QStringLiteral("imgTBexport")},
               open);
}

QList<CommandStates::Picture> CommandStates::fileButtonPictures(RecordState state)
{
    BW_TRACE(kModule, "Function fileButtonPictures");
    const QString disabled = QStringLiteral("TB-DISABLED");
    if (state == RecordState::NoFile)
        return {{QStringLiteral("imgTBsave"), disabled},
                {QStringLiteral("imgTBprint"), disabled},
                {QStringLiteral("imgTBclose"), disabled},
                {QStringLiteral("imgTBopen"), QStringLiteral("OPENUP")},
                {QStringLiteral("imgTBunlock"), QStringLiteral("TB-UNLOCKUP")},
                {QStringLiteral("imgTBnew"), QStringLiteral("TB-NEWUP")},
                {QStringLiteral("imgTBimport"), disabled},
                {QStringLiteral("imgTBexport"), disabled}};
    return {{QStringLiteral("imgTBsave"), QStringLiteral("SAVEUP")},
            {QStringLiteral("imgTBprint"), QStringLiteral("PRINTUP")},
            {QStringLiteral("imgTBclose"), QStringLiteral("TB-CLOSEUP")},
            {QStringLiteral("imgTBopen"), disabled},
            {QStringLiteral("imgTBunlock"), disabled},
            {QStringLiteral("imgTBnew"), disabled},
            {QStringLiteral("imgTBimport"), QStringLiteral("TB-IMPORTUP")},
            {QStringLiteral("imgTBexport"), QStringLiteral("TB-EXPORTUP")}};
}

bool CommandStates::recordPanelEnabled(RecordState state)
{
    return state != RecordState::NoFile;
}

bool CommandStates::filterPanelVisible(RecordState state)
{
    return state != RecordState::NoFile;
}

QList<CommandStates::Setting> CommandStates::recordBoxes(RecordState state)
{
    BW_TRACE(kModule, "Function recordBoxes");
    static const QStringList order = {
        QStringLiteral("txtAccount"), QStringLiteral("cmdAccount"),   QStringLiteral("txtURL"),
        QStringLiteral("cmdURL"),     QStringLiteral("cmdGoUrl"),     QStringLiteral("txtID"),
        QStringLiteral("cmdName"),    QStringLiteral("txtPW"),        QStringLiteral("cmdSP"),
        QStringLiteral("txtHint"),    QStringLiteral("cmdHint"),      QStringLiteral("txtINFO"),
        QStringLiteral("cmdInfo"),    QStringLiteral("txtKey1Label"), QStringLiteral("txtKey1"),
        QStringLiteral("cmdKey1"),    QStringLiteral("txtKey2Label"), QStringLiteral("txtKey2"),
        QStringLiteral("cmdKey2"),    QStringLiteral("txtKey3Label"), QStringLiteral("txtKey3"),
        QStringLiteral("cmdKey3"),    QStringLiteral("txtKey4Label"), QStringLiteral("txtKey4"),
        QStringLiteral("cmdKey4")};
    return all(order, state == RecordState::FileWithRecords);
}

bool CommandStates::isViewOnly(const Recordset* records)
{
    BW_TRACE(kModule, "Function isViewOnly");
    return records && records->hasActiveConnection() && records->isReadOnly();
}

QList<CommandStates::Setting> CommandStates::viewOnlyCommands()
{
    BW_TRACE(kModule, "Function viewOnlyCommands");
    return all({QStringLiteral("mnuAddEntry"), QStringLiteral("cmdAdd"), QStringLiteral("mnuDeleteEntry"),
                QStringLiteral("cmdClear"), QStringLiteral("cmdRP"), QStringLiteral("mnuFileImport"),
                QStringLiteral("imgTBimport")},
               false);
}
