// The grid and filters of the records window: begins and contains filters on either field.
#include "MainWindowFixture.h"
#include "mainwindow/frmMain.h"
#include "storage/Recordset.h"

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
};

QTEST_MAIN(TestFrmMainGrid)
#include "test_frmMain_grid.moc"
