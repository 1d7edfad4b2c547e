// Draws the records window as a user sees it, with no data file, an empty data file and twenty records,
// into PNG files (run under an X server: screenshots_mainwindow <folder>).
#include "MainWindowFixture.h"
#include "datafile/Recordset.h"
#include "mainwindow/frmMain.h"

#include <QApplication>
#include <QPixmap>
#include <QTest>

namespace {
void shoot(frmMain& window, const QString& file)
{
    window.show();
    QTest::qWait(400);
    window.grab().save(file);
}
} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    mwtest::Environment env;
    mwtest::logIn();
    {
        auto window = mwtest::loadedWindow();
        shoot(*window, folder + QStringLiteral("/main-nofile.png"));
    }
    {
        const QString file = mwtest::makeFile(env, QStringLiteral("Empty vault.lwd"), {});
        auto window = mwtest::loadedWindow(file);
        shoot(*window, folder + QStringLiteral("/main-empty.png"));
    }
    {
        const QString file = mwtest::makeFile(env, QStringLiteral("Bob's accounts.lwd"), mwtest::realisticRecords());
        auto window = mwtest::loadedWindow(file);
        window->recordset()->moveFirst();
        window->recordset()->move(6);
        shoot(*window, folder + QStringLiteral("/main-records.png"));
    }
    return 0;
}
