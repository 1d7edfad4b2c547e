// The help viewer and the manual: the manual opens, every link inside it leads somewhere, a topic opens at its
// place, and a missing help file is reported rather than shown blank.
#include "tools/HelpViewer.h"

#include <QFile>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

class TestHelpViewer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void manualOpens()
    {
        QWidget owner;
        QCOMPARE(HelpViewer::showHelp(&owner, HelpViewer::defaultHelpFilePath()), QString());
        HelpViewer* window = HelpViewer::window();
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->browser()->documentTitle(), QStringLiteral("Lockwell Help"));
        // The one window is reused.
        QCOMPARE(HelpViewer::showHelp(&owner, HelpViewer::defaultHelpFilePath()), QString());
        QCOMPARE(HelpViewer::window(), window);
    }

    // Every "#name" the manual links to has its anchor, and the contents name every section.
    void everyLinkOfTheManualLeadsSomewhere()
    {
        QFile file(QStringLiteral(":/help/index.html"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        QSet<QString> anchors;
        for (const auto& m : QRegularExpression(QStringLiteral("<a name=\"([^\"]+)\"")).globalMatch(html))
            anchors.insert(m.captured(1));
        int links = 0;
        for (const auto& m : QRegularExpression(QStringLiteral("href=\"#([^\"]+)\"")).globalMatch(html)) {
            ++links;
            QVERIFY2(anchors.contains(m.captured(1)), qPrintable(m.captured(1)));
        }
        QVERIFY(links >= anchors.size() - 1); // every section but the top is linked from the contents
        // The messages a user meets when a file does not open are in the manual word for word.
        for (const char* message : {"PASSWORD MISMATCH!", "DATABASE CONNECTION ERROR!", "DATABASE COMPACT ERROR!",
                                    "SECURITY TIME OUT! ...REFRESH PASSWORD!", "Invalid Password, try again!"})
            QVERIFY2(html.contains(QLatin1String(message)), message);
    }

    void topicOpensAtItsPlace()
    {
        QWidget owner;
        owner.resize(400, 300);
        QCOMPARE(HelpViewer::showHelp(&owner, HelpViewer::defaultHelpFilePath(), QStringLiteral("backups")), QString());
        QTextBrowser* browser = HelpViewer::window()->browser();
        QCOMPARE(browser->source().fragment(), QStringLiteral("backups"));
        QVERIFY(browser->verticalScrollBar()->value() > 0);
    }

    void missingOrEmptyHelpFileIsReported()
    {
        QWidget owner;
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("TovaneKeyfold.html"));
        QCOMPARE(HelpViewer::showHelp(&owner, missing), HelpViewer::notFoundText(missing));
        QCOMPARE(HelpViewer::showHelp(&owner, dir.path()), HelpViewer::notFoundText(dir.path()));
        QFile empty(missing);
        QVERIFY(empty.open(QIODevice::WriteOnly));
        empty.close();
        QCOMPARE(HelpViewer::showHelp(&owner, missing), HelpViewer::notReadableText(missing));
    }
};

QTEST_MAIN(TestHelpViewer)
#include "test_HelpViewer.moc"
