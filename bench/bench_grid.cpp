// The records window over 100,000 records: building the grid's model, showing a page of the grid,
// scrolling, and the header-click sort, the two filters and the jump by first letter as the window runs
// them (record set, model, bound boxes and grid selection together).
#include "BenchSupport.h"
#include "app/LoginValues.h"
#include "crypto/StringCipher.h"
#include "errortrap/Bulwark.h"
#include "mainwindow/AccountGridModel.h"
#include "mainwindow/frmMain.h"
#include "storage/DataFileFormat.h"
#include "storage/Recordset.h"
#include "storage/ResourceFile.h"
#include "storage/SqlCipherDatabase.h"
#include "storage/SqlStatement.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {
constexpr int kRecords = 100000;

using bench::scratch;
using bench::text;

// An unprotected data file with kRecords records of realistic sizes (the grid's cost does not depend on
// the file's encryption, which the data file benchmark measures).
const QString& dataFile()
{
    static QString path;
    if (!path.isEmpty())
        return path;
    path = scratch().filePath(QStringLiteral("grid.lwd"));
    SaveResItemToDisk(QStringLiteral("DATABASE"), QStringLiteral("CUSTOM"), path);
    auto db = SqlCipherDatabase::open(path, SecretText());
    db->exec("BEGIN");
    SqlStatement insert(db->handle(), "INSERT INTO tblAccount (Account, URL, IDtext, Password, HINT, Info) VALUES "
                                      "(?1, ?2, ?3, ?4, ?5, ?6)");
    QRandomGenerator random{20240601};
    for (int i = 0; i < kRecords; ++i) {
        insert.bindText(1, text(random, 4, 30));
        insert.bindText(2, QStringLiteral("https://www.") + text(random, 5, 25) + QStringLiteral(".com/"));
        insert.bindText(3, text(random, 5, 25));
        insert.bindText(4, text(random, 10, 20));
        insert.bindText(5, text(random, 0, 40));
        insert.bindText(6, text(random, 0, 200));
        insert.step();
        insert.reset();
    }
    db->exec("COMMIT");
    return path;
}

std::shared_ptr<Recordset> openRecords()
{
    return std::make_shared<Recordset>(
        std::shared_ptr<SqlCipherDatabase>(SqlCipherDatabase::open(dataFile(), SecretText())));
}

// The records window, loaded once with the data file open, as a user has it.
std::unique_ptr<frmMain> loaded;

frmMain& window()
{
    if (!loaded) {
        LoginValues::setUserName(QStringLiteral("BENCH"));
        LoginValues::setMasterPassword(SecretText(u"bench-pw"));
        SetKey(QStringLiteral("bench-pw"));
        LoginValues::setHeldVerifier(Encrypt(LoginValues::masterPassword()));
        loaded = std::make_unique<frmMain>();
        loaded->setCommandText(dataFile());
        loaded->Form_Load();
        loaded->show();
        QCoreApplication::processEvents();
        if (!loaded->isDataFileOpen() || loaded->recordset()->recordCount() != kRecords)
            qFatal("the benchmark's data file did not open");
    }
    return *loaded;
}

QTableView* grid()
{
    return window().findChild<QTableView*>(QStringLiteral("DataGrid1"));
}

// Building the model over an open record set and reading the first screen of it.
void BM_GridModel_Build(benchmark::State& state)
{
    const auto records = openRecords();
    for (auto _ : state) {
        AccountGridModel model;
        model.setRecordset(records);
        for (int row = 0; row < 40; ++row)
            for (int column = 0; column < 2; ++column)
                benchmark::DoNotOptimize(model.index(row, column).data());
    }
}
BENCHMARK(BM_GridModel_Build)->Unit(benchmark::kMicrosecond);

// The grid shown afresh after a reset, painted once.
void BM_GridView_ResetAndPaint(benchmark::State& state)
{
    QTableView* view = grid();
    auto* model = static_cast<AccountGridModel*>(view->model());
    for (auto _ : state) {
        model->reload();
        view->viewport()->repaint();
    }
}
BENCHMARK(BM_GridView_ResetAndPaint)->Unit(benchmark::kMillisecond);

// One page of scrolling to anywhere in the list, painted.
void BM_GridView_ScrollPage(benchmark::State& state)
{
    QTableView* view = grid();
    QRandomGenerator random{7};
    for (auto _ : state) {
        view->verticalScrollBar()->setValue(int(random.bounded(view->verticalScrollBar()->maximum() + 1)));
        view->viewport()->repaint();
    }
}
BENCHMARK(BM_GridView_ScrollPage)->Unit(benchmark::kMillisecond);

// A header click: the sort flips between ascending and descending on the Account column.
void BM_Window_HeaderClickSort(benchmark::State& state)
{
    frmMain& main = window();
    for (auto _ : state)
        main.DataGrid1_HeadClick(0);
}
BENCHMARK(BM_Window_HeaderClickSort)->Unit(benchmark::kMillisecond);

void runFilter(benchmark::State& state, const char* box, const QString& text, void (frmMain::*command)())
{
    frmMain& main = window();
    auto* filterBox = main.findChild<QLineEdit*>(QString::fromLatin1(box));
    for (auto _ : state) {
        filterBox->setText(text);
        (main.*command)();
        state.PauseTiming();
        state.counters["found"] = main.recordset()->recordCount();
        main.recordset()->setFilter(QString());
        state.ResumeTiming();
    }
}

void BM_Window_FilterBegins(benchmark::State& state)
{
    runFilter(state, "txtFilter", QStringLiteral("ab"), &frmMain::cmdFilter_Click);
}
BENCHMARK(BM_Window_FilterBegins)->Unit(benchmark::kMillisecond);

void BM_Window_FilterContains(benchmark::State& state)
{
    runFilter(state, "txtFilter2", QStringLiteral("xyz"), &frmMain::cmdFilter2_Click);
}
BENCHMARK(BM_Window_FilterContains)->Unit(benchmark::kMillisecond);

// Typing a letter in the grid: the search from the top for the first account beginning with it.
void BM_Window_JumpByLetter(benchmark::State& state)
{
    frmMain& main = window();
    const char letters[] = "qzQ7mK";
    int i = 0;
    for (auto _ : state) {
        int key = letters[i++ % 6];
        main.DataGrid1_KeyPress(key);
    }
}
BENCHMARK(BM_Window_JumpByLetter)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The window reads and writes settings and logs: keep them out of the user's own.
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
    bwSetProgramFolder(home.path());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    loaded.reset(); // while the application object is still there
    return 0;
}
