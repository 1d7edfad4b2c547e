// Draws the import preview over the records window as a user sees it, a Bitwarden export chosen, into
// import-preview.png (run under an X server: screenshots_import <folder> <csv file>). The whole screen is
// taken, so the picture shows the dialog where it really opens.
#include "MainWindowFixture.h"
#include "desktop/FileDialog.h"
#include "mainwindow/frmMain.h"

#include <QApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc < 3)
        return 2;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    mwtest::Environment env;
    mwtest::logIn();
    const QString file = mwtest::makeFile(env, QStringLiteral("Bob's accounts.lwd"), mwtest::realisticRecords());
    auto window = mwtest::loadedWindow(file);
    window->move(0, 0);
    window->show();
    QTest::qWait(400);
    FileDialogSeam::setNextFileName(QString::fromLocal8Bit(argv[2]));
    mwtest::whenModalShows([&](QWidget* dialog) {
        dialog->move(window->x() + 60, window->y() + 60);
        QTest::qWait(600);
        QGuiApplication::primaryScreen()->grabWindow(0).save(folder + QStringLiteral("/import-preview.png"));
        mwtest::child<QPushButton>(dialog, "cmdCancel")->click();
    });
    window->mnuFileImport_Click();
    return 0;
}
