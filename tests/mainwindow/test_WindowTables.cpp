// The records window's decision tables, tested directly: which commands each record state enables, the
// keys the filter boxes take, and the column widths after a resize.
#include "mainwindow/ColumnWidths.h"
#include "mainwindow/CommandStates.h"
#include "mainwindow/FilterKeys.h"

#include <QMap>
#include <QtTest>
#include <utility>

namespace {
using States = QList<RecordState>;
const States kAll = {RecordState::NoFile, RecordState::EmptyFile, RecordState::FileWithRecords};

QMap<QString, bool> asMap(const QList<CommandStates::Setting>& settings)
{
    QMap<QString, bool> map;
    for (const CommandStates::Setting& setting : settings) {
        if (map.contains(setting.control))
            qFatal("%s is set twice", qPrintable(setting.control));
        map.insert(setting.control, setting.enabled);
    }
    return map;
}
} // namespace

class TestWindowTables : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void commandsFollowTheRecordState_data()
    {
        QTest::addColumn<QStringList>("controls");
        QTest::addColumn<States>("enabledIn");
        const States open = {RecordState::EmptyFile, RecordState::FileWithRecords};
        const States records = {RecordState::FileWithRecords};
        QTest::newRow("add") << QStringList{"mnuAddEntry", "cmdAdd"} << open;
        QTest::newRow("delete, generator, navigation")
            << QStringList{"mnuDeleteEntry", "cmdClear", "cmdRP", "Adodc1"} << records;
        QTest::newRow("open and new") << QStringList{"mnuFileOpen", "mnuOpenSpecial", "mnuNewDB", "tbToolBar:Open",
                                                     "imgTBopen",   "imgTBunlock",    "imgTBnew"}
                                      << States{RecordState::NoFile};
        QTest::newRow("close, save, print, import, export")
            << QStringList{"mnuFileClose",    "mnuFileSaveAs", "mnuFilePrint", "tbToolBar:SaveAs",
                           "tbToolBar:Print", "imgTBsave",     "imgTBprint",   "imgTBclose",
                           "mnuFileImport",   "mnuFileExport", "imgTBimport",  "imgTBexport"}
            << open;
        QTest::newRow("record boxes") << QStringList{"txtAccount",   "cmdAccount", "txtPW",   "cmdSP",   "txtINFO",
                                                     "txtKey4Label", "txtKey4",    "cmdKey4", "cmdGoUrl"}
                                      << records;
    }

    void commandsFollowTheRecordState()
    {
        QFETCH(QStringList, controls);
        QFETCH(States, enabledIn);
        for (RecordState state : kAll) {
            QMap<QString, bool> settings = asMap(CommandStates::recordCommands(state));
            settings.insert(asMap(CommandStates::fileCommands(state)));
            settings.insert(asMap(CommandStates::recordBoxes(state)));
            for (const QString& control : controls) {
                QVERIFY2(settings.contains(control), qPrintable(control));
                QVERIFY2(settings.value(control) == enabledIn.contains(state),
                         qPrintable(control + QStringLiteral(" in state ") + QString::number(int(state))));
            }
            QCOMPARE(CommandStates::recordPanelEnabled(state), state != RecordState::NoFile);
            QCOMPARE(CommandStates::filterPanelVisible(state), state != RecordState::NoFile);
        }
        QCOMPARE(CommandStates::recordBoxes(RecordState::FileWithRecords).size(), 25);
        // Viewing only: whatever is open, nothing that would change a record.
        for (const CommandStates::Setting& setting : CommandStates::viewOnlyCommands())
            QVERIFY2(!setting.enabled, qPrintable(setting.control));
        QCOMPARE(asMap(CommandStates::viewOnlyCommands()).keys(),
                 QStringList(
                     {"cmdAdd", "cmdClear", "cmdRP", "imgTBimport", "mnuAddEntry", "mnuDeleteEntry", "mnuFileImport"}));
    }

    void filterBoxesTakeLettersDigitsAndEditingKeysOnly()
    {
        for (int code = 0; code < 0x250; ++code) {
            const bool letterOrDigit =
                (code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z');
            const bool control = code < 32 || (code >= 127 && code < 160);
            const int expected = code == FilterKeys::kEnter ? 0 : (letterOrDigit || control ? code : 0);
            QVERIFY2(FilterKeys::screenFilterKey(code) == expected, qPrintable(QString::number(code)));
            QCOMPARE(FilterKeys::isLetterOrDigit(code), letterOrDigit);
        }
    }

    void aResizedColumnStaysBetweenAFifthAndSevenTenths()
    {
        // {resized, kept} in a grid 10000 twips wide: too wide, too narrow, in between, at the upper end.
        for (const auto& [resized, kept] :
             {std::pair{9000.0F, 7000.0F}, {100.0F, 2000.0F}, {4000.0F, 4000.0F}, {7000.0F, 7000.0F}}) {
            const ColumnWidths::Pair widths = ColumnWidths::afterResize(10000.0F, resized);
            QCOMPARE(widths.resized, kept);
            QCOMPARE(widths.other, 10000.0F - 300.1F - kept);
        }
    }
};

QTEST_GUILESS_MAIN(TestWindowTables)
#include "test_WindowTables.moc"
