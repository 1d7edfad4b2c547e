// The About box: its texts from the string table and the build, and the system information window.
#include "tools/frmAbout.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {
QString textOf(QObject* d, const char* name)
{
    if (auto* label = d->findChild<QLabel*>(QLatin1String(name)))
        return label->text();
    if (auto* button = d->findChild<QPushButton*>(QLatin1String(name)))
        return button->text();
    qFatal("control %s missing", name);
}
} // namespace

class TestFrmAbout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QCoreApplication::setApplicationVersion(QString()); }

    void textsFromTheStringTableAndTheBuild()
    {
        frmAbout box;
        QCOMPARE(box.windowTitle(), QStringLiteral("About Lockwell"));
        QCOMPARE(textOf(&box, "cmdSysInfo"), QStringLiteral("&System Info..."));
        // The build's version, after the table's "Version".
        QVERIFY(
            textOf(&box, "lblVersion").contains(QRegularExpression(QStringLiteral("^Version \\d+\\.\\d+\\.\\d+$"))));
        // The table's placeholders are replaced by real texts.
        QVERIFY(textOf(&box, "lblDescription").contains(QLatin1String("vault")));
        QVERIFY(!textOf(&box, "lblDisclaimer").endsWith(QLatin1String("...")));
        QVERIFY(textOf(&box, "lblContact").contains(QLatin1Char('@')));

        QCoreApplication::setApplicationVersion(QStringLiteral("4.5.6")); // a version set by the program wins
        frmAbout again;
        QCOMPARE(textOf(&again, "lblVersion"), QStringLiteral("Version 4.5.6"));
    }

    // The button opens one window with this machine's report, and brings the same window back the next time.
    void systemInfoOpensTheReport()
    {
        frmAbout box;
        QVERIFY(!box.systemInfoWindow());
        box.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->click();
        QDialog* window = box.systemInfoWindow();
        QVERIFY(window && window->isVisible());
        const QString report = window->findChild<QPlainTextEdit*>(QStringLiteral("txtReport"))->toPlainText();
        QVERIFY(report.startsWith(QLatin1String("Application running on computer ")));
        QVERIFY(report.contains(QLatin1String("\nMemory Information\n")));
        QVERIFY(!report.contains(QLatin1Char('\r')));
        box.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->click();
        QCOMPARE(box.systemInfoWindow(), window);
    }
};

QTEST_MAIN(TestFrmAbout)
#include "test_frmAbout.moc"
