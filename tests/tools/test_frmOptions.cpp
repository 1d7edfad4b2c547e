// The options dialog: what each way of closing does to the settings variables and the store.
#include "TestSupport.h"
#include "app/LoginValues.h"
#include "app/ProgramSettings.h"
#include "app/SettingsStore.h"
#include "errortrap/Bulwark.h"
#include "tools/frmOptions.h"

#include <QAbstractButton>
#include <QApplication>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>

namespace {
const QString kUser = QStringLiteral("BOB");
const QList<QVariant> kDefaults = {true, 10, true, 5, false, true};

using support::child;
void click(const QObject* d, const char* name)
{
    child<QAbstractButton>(d, name)->click();
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
    child<QScrollBar>(d, "fsbPeek")->setValue(17);
    click(d, "chkTimeout");
    child<QScrollBar>(d, "fsbTimeout")->setValue(12);
    click(d, "chkOnTop");
    click(d, "chkAutoLoad");
}
} // namespace

class TestFrmOptions : public QObject
{
    Q_OBJECT

    std::unique_ptr<support::Environment> m_env;

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<support::Environment>();
        m_env->keepReports();
        LoginValues::setUserName(kUser);
    }

    void cleanup()
    {
        QVERIFY2(m_env->reports().isEmpty(), qPrintable(m_env->reports().value(0).description));
        m_env.reset();
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
            QWidget* focused = child(d, "chkOnTop"); // keys go to a control, as typed
            if (how == QLatin1String("Escape"))
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
};

QTEST_MAIN(TestFrmOptions)
#include "test_frmOptions.moc"
