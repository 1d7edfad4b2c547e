// The grid and filters of the records window: sorting by header clicks, column widths after a resize,
// begins and contains filters on either field, clearing, the keys the filter boxes take, and the jump
// by first letter.
#include "MainWindowFixture.h"
#include "app/ProgramSettings.h"
#include "errortrap/Bulwark.h"
#include "mainwindow/Twips.h"
#include "mainwindow/frmMain.h"
#include "storage/Recordset.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

using mwtest::child;

namespace {
const QStringList kNames = {"Gmail", "amazon", "Bank", "GitHub", "Zoom", "eBay", "google"};
}

class TestFrmMainGrid : public QObject
{
    Q_OBJECT

    std::unique_ptr<mwtest::Environment> m_env;
    std::unique_ptr<frmMain> m_window;

    Recordset& records() const { return *m_window->recordset(); }
    QTableView* grid() const { return child<QTableView>(m_window.get(), "DataGrid1"); }
    QLineEdit* box(const char* name) const { return child<QLineEdit>(m_window.get(), name); }
    QStringList shownAccounts() const
    {
        QStringList names;
        for (int row = 0; row < grid()->model()->rowCount(); ++row)
            names << grid()->model()->index(row, 0).data().toString();
        return names;
    }
    float widthOf(int column) const
    {
        return Twips::fromPixelsX(grid()->horizontalHeader()->sectionSize(column), m_window.get());
    }
    float gridWidth() const { return Twips::fromPixelsX(grid()->width(), m_window.get()); }
    // One pixel, in twips: widths are kept in twips and shown in whole pixels.
    float pixel() const { return float(Twips::perPixelX(m_window.get())); }

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<mwtest::Environment>();
        mwtest::logIn();
        QList<fixtures::Record> records = mwtest::accounts(kNames);
        records[0][1] = QStringLiteral("https://mail.google.com");
        records[6][1] = QStringLiteral("https://www.google.com");
        m_window = mwtest::loadedWindow(mwtest::makeFile(*m_env, QStringLiteral("grid.lwd"), records));
        QVERIFY(m_window->isDataFileOpen());
    }

    void cleanup()
    {
        m_window.reset();
        m_env.reset();
    }

    void theGridShowsTheRecordSetAndFollowsIt()
    {
        QCOMPARE(grid()->model()->columnCount(), 2);
        QCOMPARE(shownAccounts(), QStringList({"amazon", "Bank", "eBay", "GitHub", "Gmail", "google", "Zoom"}));
        grid()->selectRow(4);
        QCOMPARE(m_window->boxText("txtAccount"), QStringLiteral("Gmail"));
        records().moveLast();
        QCOMPARE(grid()->currentIndex().row(), 6);
    }

    void headerClicksAlternateWithOneToggleForBothColumns()
    {
        m_window->DataGrid1_HeadClick(0);
        QCOMPARE(records().sort(), QStringLiteral("Account"));
        QCOMPARE(m_window->SortColumn(), qint16(0));
        QCOMPARE(m_window->SortDirection(), qint16(1));
        m_window->DataGrid1_HeadClick(1); // the other column, but the toggle is shared
        QCOMPARE(records().sort(), QStringLiteral("URL DESC"));
        QCOMPARE(m_window->SortColumn(), qint16(1));
        QCOMPARE(m_window->SortDirection(), qint16(2));
        QCOMPARE(shownAccounts().first(), QStringLiteral("Zoom"));
        m_window->DataGrid1_HeadClick(1);
        QCOMPARE(records().sort(), QStringLiteral("URL"));
        QCOMPARE(m_window->SortDirection(), qint16(1));
    }

    void aHeaderClickWithAChangePendingOnlyFlipsAscDesc()
    {
        m_window->DataGrid1_HeadClick(0); // Account ascending, SortDirection 1
        box("txtID")->setText(QStringLiteral("changed"));
        m_window->DataGrid1_HeadClick(1);
        QCOMPARE(records().sort(), QStringLiteral("URL ASC"));
        QCOMPARE(m_window->SortColumn(), qint16(0));
        QCOMPARE(m_window->SortDirection(), qint16(1));
        m_window->DataGrid1_HeadClick(1); // nothing pending now: the shared toggle goes on to descending
        QCOMPARE(records().sort(), QStringLiteral("URL DESC"));
        QCOMPARE(m_window->SortDirection(), qint16(2));
    }

    void aResizedColumnStaysBetweenATwentiethAndSeventyPercent_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<double>("share");
        QTest::addColumn<double>("kept");
        QTest::newRow("account to 90 %") << 0 << 0.9 << 0.7;
        QTest::newRow("account to 10 %") << 0 << 0.1 << 0.2;
        QTest::newRow("URL to 40 %") << 1 << 0.4 << 0.4;
    }

    void aResizedColumnStaysBetweenATwentiethAndSeventyPercent()
    {
        QFETCH(int, column);
        QFETCH(double, share);
        QFETCH(double, kept);
        const float w = gridWidth();
        grid()->horizontalHeader()->resizeSection(column, int(grid()->width() * share));
        const float resized = widthOf(column);
        const float other = widthOf(1 - column);
        QVERIFY2(std::abs(resized - w * kept) <= pixel(), qPrintable(QString::number(resized)));
        QVERIFY(std::abs(other - (w - 300.1F - resized)) <= pixel());
        // The widths kept for the next start are the ones worked out, in twips.
        const float keptResized = column == 0 ? Options.ColAccount : Options.ColURL;
        const float keptOther = column == 0 ? Options.ColURL : Options.ColAccount;
        QVERIFY(std::abs(keptResized - w * kept) <= pixel());
        QVERIFY(std::abs(keptOther - (w - 300.1F - keptResized)) < 0.01F);
    }

    void filtersByBeginningAndContentOnEitherField()
    {
        box("txtFilter")->setText(QStringLiteral(" g "));
        m_window->cmdFilter_Click();
        QCOMPARE(shownAccounts(), QStringList({"GitHub", "Gmail", "google"}));
        QCOMPARE(m_window->statusPanel(1), QStringLiteral("3 Accounts found."));

        box("txtFilter2")->setText(QStringLiteral("oo"));
        m_window->cmdFilter2_Click();
        QCOMPARE(shownAccounts(), QStringList({"google", "Zoom"}));

        child<QRadioButton>(m_window.get(), "optField1")->setChecked(true);
        m_window->cmdFilter2_Click();
        QCOMPARE(shownAccounts(), QStringList({"Gmail", "google", "Zoom"}));
        box("txtFilter2")->setText(QStringLiteral("mail"));
        m_window->cmdFilter2_Click();
        QCOMPARE(shownAccounts(), QStringList({"Gmail"}));
        QCOMPARE(m_window->statusPanel(1), QStringLiteral("1 Accounts found."));
    }

    void anEmptyBeginningShowsAllUnsortedAndClearKeepsTheSort()
    {
        m_window->DataGrid1_HeadClick(0);
        m_window->DataGrid1_HeadClick(0); // Account descending
        box("txtFilter")->setText(QStringLiteral("g"));
        m_window->cmdFilter_Click();
        m_window->cmdClearFilter_Click();
        QCOMPARE(box("txtFilter")->text(), QString());
        QCOMPARE(records().sort(), QStringLiteral("Account DESC"));
        QCOMPARE(shownAccounts().first(), QStringLiteral("Zoom"));
        QCOMPARE(m_window->statusPanel(1), QStringLiteral("7 Accounts Total."));

        box("txtFilter")->setText(QStringLiteral("  "));
        m_window->cmdFilter_Click();
        QCOMPARE(records().sort(), QString());
        QCOMPARE(shownAccounts(), kNames); // the order of the data file
        QCOMPARE(m_window->statusPanel(1), QStringLiteral("7 Accounts found."));
    }

    void aPastedQuoteIsReportedNotRun()
    {
        QStringList reported;
        bwSetReporter([&](const BwErrorReport& report) {
            reported << report.procedure;
            return BwReportAnswer{};
        });
        box("txtFilter")->setText(QStringLiteral("o'ne")); // pasted: the key screening never saw it
        m_window->cmdFilter_Click();
        QCOMPARE(reported, QStringList({"Sub cmdFilter_Click"}));
        QCOMPARE(records().recordCount(), 7);
        bwSetReporter({});
    }

    void theFilterBoxesTakeOnlyLettersAndDigits()
    {
        QLineEdit* begins = box("txtFilter");
        QTest::keyClicks(begins, QStringLiteral("a' b-c\"1"));
        QCOMPARE(begins->text(), QStringLiteral("abc1"));
        // Editing keys carry control characters as their text on X11; they edit, they are not screened.
        const auto x11Key = [begins](Qt::Key key, const QString& text) {
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
            QApplication::sendEvent(begins, &press);
        };
        x11Key(Qt::Key_Backspace, QStringLiteral("\b"));
        QCOMPARE(begins->text(), QStringLiteral("abc"));
        x11Key(Qt::Key_Home, QString());
        x11Key(Qt::Key_Delete, QStringLiteral("\x7f"));
        QCOMPARE(begins->text(), QStringLiteral("bc"));
        begins->end(false);
        QTest::keyClicks(begins, QStringLiteral("adefgh"));
        QCOMPARE(begins->text(), QStringLiteral("bcadef")); // six characters at most
        QTest::keyClicks(box("txtFilter2"), QStringLiteral("abcdefghijklmnopqrs"));
        QCOMPARE(box("txtFilter2")->text().size(), 16);

        begins->setText(QStringLiteral("am"));
        QTest::keyClick(begins, Qt::Key_Return); // Enter runs the filter
        QCOMPARE(shownAccounts(), QStringList({"amazon"}));
        QCOMPARE(begins->text(), QStringLiteral("am"));
    }

    void typingALetterInTheGridJumpsToTheFirstAccountWithIt()
    {
        grid()->setFocus();
        QTest::keyClick(grid(), 'g');
        QCOMPARE(m_window->boxText("txtAccount"), QStringLiteral("GitHub"));
        QTest::keyClick(grid(), 'q'); // nothing begins with q: the record stays
        QCOMPARE(m_window->boxText("txtAccount"), QStringLiteral("GitHub"));
        QTest::keyClick(grid(), 'B');
        QCOMPARE(m_window->boxText("txtAccount"), QStringLiteral("Bank"));

        m_window->DataGrid1_HeadClick(0);
        m_window->DataGrid1_HeadClick(0); // descending: the first match in the grid's order
        QTest::keyClick(grid(), 'g');
        QCOMPARE(m_window->boxText("txtAccount"), QStringLiteral("google"));
    }
};

QTEST_MAIN(TestFrmMainGrid)
#include "test_frmMain_grid.moc"
