// The options dialog: the buttons' enable rules, what each way of closing does to the settings variables
// and the store, the tab keys, and the Master page with its open-file test and password change.
#include "SessionFixture.h"
#include "app/LoginValues.h"
#include "app/ProgramSettings.h"
#include "app/SettingsStore.h"
#include "errortrap/Bulwark.h"
#include "tools/frmOptions.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QTabBar>
#include <QTimer>
#include <QtTest>

namespace {
const QString kUser = QStringLiteral("BOB");
const QString kWarnNoFileOpen = QStringLiteral("WARNING! If you change the MASTER password you will still need to "
                                               "use the old password to access the old data files.");
const QList<QVariant> kDefaults = {true, 10, true, 5, false, true};

template <class T = QWidget> T* find(const QObject* dialog, const char* name)
{
    T* found = dialog->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("control %s missing", name);
    return found;
}
QString text(const QObject* d, const char* name)
{
    return find(d, name)->property("text").toString();
}
bool enabled(const QObject* d, const char* name)
{
    return find(d, name)->isEnabled();
}
void click(const QObject* d, const char* name)
{
    find<QAbstractButton>(d, name)->click();
}
QTabBar* tabs(const QObject* d)
{
    return find<QTabBar>(d, "tbsOptions");
}

// PeekOn, PeekTime, TimeoutOn, TimeoutTime, KeepOnTop, AutoLoad.
QList<QVariant> variables()
{
    return {Options.PeekOn,           int(Options.PeekTime), Options.TimeoutOn,
            int(Options.TimeoutTime), Options.KeepOnTop,     Options.AutoLoad};
}
QStringList storedOptions()
{
    QStringList texts;
    for (const char* key : {"PeekOn", "PeekTime", "TimeoutOn", "TimeoutTime", "KeepOnTop", "AutoLoad"})
        texts << SettingsStore::read(QStringLiteral("Accounts\\BOB\\Settings"), QString::fromLatin1(key), "-");
    return texts;
}

// Changes every option of the General page away from the defaults.
void changeEverything(const QObject* d)
{
    click(d, "chkPasstime");
    find<QScrollBar>(d, "fsbPeek")->setValue(17);
    click(d, "chkTimeout");
    find<QScrollBar>(d, "fsbTimeout")->setValue(12);
    click(d, "chkOnTop");
    click(d, "chkAutoLoad");
}
} // namespace

class TestFrmOptions : public QObject
{
    Q_OBJECT

    QScopedPointer<QTemporaryDir> m_home;
    QList<BwErrorReport> m_reports;

private Q_SLOTS:
    void init()
    {
        bwReset();
        m_home.reset(new QTemporaryDir);
        bwSetProgramFolder(m_home->path());
        m_reports.clear();
        bwSetReporter([this](const BwErrorReport& report) {
            m_reports.append(report);
            return BwReportAnswer{BwAction::Leave, QString()};
        });
        session::useSettingsFolder(*m_home);
        LoginValues::setUserName(kUser);
        Options = ProgramOptions();
    }

    void cleanup()
    {
        QVERIFY2(m_reports.isEmpty(), qPrintable(m_reports.value(0).description));
        bwReset();
    }

    // Loading is not a change; auto-load, which only matters at the next start, enables "&Save" alone.
    void enableRules()
    {
        Options.PeekTime = 50; // hand-edited out of range: shown as the nearest end
        frmOptions d;
        QCOMPARE(text(&d, "lblPeek"), QStringLiteral("20 (secs)"));
        QCOMPARE(text(&d, "lblTimeout"), QStringLiteral("5 (mins)"));
        QVERIFY(!enabled(&d, "cmdUse") && !enabled(&d, "cmdSave") && enabled(&d, "cmdCancel"));
        click(&d, "chkAutoLoad");
        QVERIFY(!enabled(&d, "cmdUse") && enabled(&d, "cmdSave"));
        for (const char* control : {"chkPasstime", "chkTimeout", "chkOnTop", "fsbPeek", "fsbTimeout"}) {
            frmOptions o;
            if (auto* bar = qobject_cast<QScrollBar*>(find(&o, control)))
                bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
            else
                click(&o, control);
            QVERIFY2(enabled(&o, "cmdUse") && enabled(&o, "cmdSave"), control);
        }
    }

    // The records window's way in: a modal show over its window, the dialog unloaded afterwards.
    void closing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QList<QVariant>>("after");
        QTest::addColumn<QStringList>("stored");
        const QStringList nothing = {"-", "-", "-", "-", "-", "-"};
        QTest::newRow("Use") << "cmdUse" << QList<QVariant>{false, 17, false, 12, true, true} << nothing;
        QTest::newRow("Save") << "cmdSave" << QList<QVariant>{false, 17, false, 12, true, false}
                              << QStringList{"False", "17", "False", "12", "True", "False"};
        QTest::newRow("Cancel") << "cmdCancel" << kDefaults << nothing;
        QTest::newRow("Enter") << "Enter" << kDefaults << nothing;
        QTest::newRow("Escape") << "Escape" << kDefaults << nothing;
        QTest::newRow("close box") << "close" << kDefaults << nothing;
    }

    void closing()
    {
        QFETCH(QString, how);
        QWidget owner;
        owner.show();
        bool shownOverOwner = false;
        QTimer::singleShot(0, &owner, [&] {
            auto* d = qobject_cast<frmOptions*>(QApplication::activeModalWidget());
            if (!d)
                return;
            shownOverOwner = d->parentWidget() == &owner;
            changeEverything(d);
            QWidget* focused = find(d, "chkOnTop"); // keys go to a control, as typed
            if (how == QLatin1String("Enter"))
                QTest::keyClick(focused, Qt::Key_Return);
            else if (how == QLatin1String("Escape"))
                QTest::keyClick(focused, Qt::Key_Escape);
            else if (how == QLatin1String("close"))
                d->close();
            else
                click(d, how.toLatin1().constData());
        });
        QTimer::singleShot(10000, &owner, [] { // a failing test must not hang
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        });
        frmOptions::run(&owner, false);
        QVERIFY(shownOverOwner);
        QVERIFY(owner.findChildren<frmOptions*>().isEmpty());
        QTEST(variables(), "after");
        QTEST(storedOptions(), "stored");
        if (how == QLatin1String("cmdSave")) { // what the next start reads back
            Options = ProgramOptions();
            ProgramSettings::loadAtStart(kUser, 9000.0F);
            QTEST(variables(), "after");
        }
    }

    // Each option is written before its variable is set: nothing the store refused is in force.
    void saveSetsNoOptionItCouldNotStore()
    {
        QFile blocker(m_home->path() + QStringLiteral("/plain-file"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        qputenv("XDG_CONFIG_HOME", (blocker.fileName() + QStringLiteral("/config")).toLocal8Bit());
        frmOptions d;
        d.show();
        changeEverything(&d);
        click(&d, "cmdSave");
        QCOMPARE(m_reports.size(), 1);
        QCOMPARE(m_reports.takeFirst().number, 75);
        QCOMPARE(variables(), kDefaults);
        QVERIFY(d.isVisible());
    }

    void ctrlTabWrapsRoundTheTabs()
    {
        frmOptions d;
        d.show();
        const QSize size = d.size();
        QWidget* general = find(&d, "chkPasstime");
        QWidget* master = find(&d, "txtMaster");
        QTest::keyClick(general, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(tabs(&d)->currentIndex(), 1);
        QVERIFY(!find(&d, "Frame2")->isVisible() && !d.pbGeneral(0)->isEnabled());
        QCOMPARE(d.size(), size); // one size for both pages
        QTest::keyClick(master, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(tabs(&d)->currentIndex(), 0);
        // Back from the Master page, "Use" and "&Save" are on although nothing was changed.
        QVERIFY(enabled(&d, "cmdUse") && enabled(&d, "cmdSave"));
        QTest::keyClick(general, Qt::Key_Tab, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(tabs(&d)->currentIndex(), 1);
        // Without Ctrl, Tab only moves the focus.
        QTest::keyClick(master, Qt::Key_Tab);
        QTest::keyClick(master, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(tabs(&d)->currentIndex(), 1);
    }

    // Each showing of the Master page asks again whether a data file is open, and clears the typed password.
    void masterPageFollowsTheOpenDataFile()
    {
        const auto showMasterPage = [&](bool dataFileOpen, bool inputsOn, const QString& warning,
                                        const QString& inform) {
            frmOptions d(nullptr, dataFileOpen);
            d.show();
            tabs(&d)->setCurrentIndex(0);
            find<QLineEdit>(&d, "txtMaster")->setText(QStringLiteral("typed"));
            tabs(&d)->setCurrentIndex(1);
            QVERIFY(text(&d, "txtMaster").isEmpty());
            for (const char* name : {"txtMaster", "txtChange", "txtConfirm", "cmdPW", "cmdUse", "cmdSave", "cmdCancel"})
                QVERIFY2(enabled(&d, name) == inputsOn, name);
            QCOMPARE(text(&d, "lblWarn"), warning);
            QCOMPARE(text(&d, "lblInform"), inform);
        };

        showMasterPage(false, true, kWarnNoFileOpen, QString());
        showMasterPage(true, false, QStringLiteral("WARNING! An OPEN DataBase was detected."),
                       QStringLiteral("Please CLOSE the open DataBase before\r\ntrying to change the password."));
    }

    void masterPasswordChangeOnThePage()
    {
        session::logIn(kUser, QStringLiteral("tiger123"));
        const QString oldVerifier = ProgramSettings::verifierOf(kUser);
        frmOptions d;
        d.show();
        const QSize size = d.size();
        tabs(&d)->setCurrentIndex(1);
        auto* master = find<QLineEdit>(&d, "txtMaster");
        auto* change = find<QLineEdit>(&d, "txtChange");
        auto* confirm = find<QLineEdit>(&d, "txtConfirm");
        const auto press = [&](const char* current, const char* changed, const char* confirmation) {
            master->setText(QString::fromLatin1(current));
            change->setText(QString::fromLatin1(changed));
            confirm->setText(QString::fromLatin1(confirmation));
            click(&d, "cmdPW");
            QCoreApplication::processEvents();
            return d.size() == size ? text(&d, "lblInform") : QStringLiteral("dialog resized");
        };

        QCOMPARE(press("tiger123", "lion4567", "lion4567"), QStringLiteral("Master Password successfully changed!"));
        QCOMPARE(ProgramSettings::verifierOf(kUser), LoginValues::heldVerifier().exposed().text());
        QVERIFY(ProgramSettings::verifierOf(kUser) != oldVerifier);

        // Enter in a box of this page does not close the dialog: the default button is out of view.
        QTest::keyClick(master, Qt::Key_Return);
        QVERIFY(d.isVisible());

        // The old password no longer passes.
        QCOMPARE(press("tiger123", "puma8901", "puma8901"), QStringLiteral("Invalid Master Password, try again!"));
    }
};

QTEST_MAIN(TestFrmOptions)
#include "test_frmOptions.moc"
