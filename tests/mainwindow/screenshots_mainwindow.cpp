// Draws the records window as a user sees it, with no data file, an empty data file and twenty records,
// into PNG files (run under an X server: screenshots_mainwindow <folder>). With the mode "full"
// (screenshots_mainwindow <folder> full) it draws only the whole window with its toolbar and twenty
// records, a record chosen and keep-on-top on, as main-full.png.
#include "MainWindowFixture.h"
#include "app/ProgramSettings.h"
#include "app/SettingsStore.h"
#include "app/TextForms.h"
#include "mainwindow/SecurityLock.h"
#include "mainwindow/frmMain.h"
#include "storage/Recordset.h"

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
    const bool fullOnly = argc > 2 && QString::fromLocal8Bit(argv[2]) == QLatin1String("full");
    mwtest::Environment env;
    mwtest::logIn();
    if (argc > 2 && QString::fromLocal8Bit(argv[2]) == QLatin1String("locked")) {
        // The mode "locked": twenty records behind the security time-out, as main-locked.png.
        const QString file = mwtest::makeFile(env, QStringLiteral("Bob's accounts.lwd"), mwtest::realisticRecords());
        auto window = mwtest::loadedWindow(file);
        for (int minute = 0; minute < window->securityLock().countdownStart(); ++minute)
            window->Timer2_Timer();
        shoot(*window, folder + QStringLiteral("/main-locked.png"));
        return 0;
    }
    if (fullOnly) {
        SettingsStore::write(ProgramSettings::userSettingsSection(QStringLiteral("BOB")), QStringLiteral("KeepOnTop"),
                             TextForms::fromBoolean(true));
        const QString file = mwtest::makeFile(env, QStringLiteral("Bob's accounts.lwd"), mwtest::realisticRecords());
        auto window = mwtest::loadedWindow(file);
        window->recordset()->moveFirst();
        window->recordset()->move(6);
        shoot(*window, folder + QStringLiteral("/main-full.png"));
        return 0;
    }
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
