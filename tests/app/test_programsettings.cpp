// The program's settings: users kept apart.
#include "TestSupport.h"
#include "app/ProgramSettings.h"
#include "app/SettingsStore.h"
#include "errortrap/Bulwark.h"

#include <QtTest>

namespace {
// Values no default has, so a test sees what a load really set.
void scribbleOverVariables()
{
    Options.PeekOn = Options.TimeoutOn = Options.AutoLoad = false;
    Options.KeepOnTop = Options.Encrypt = Options.ShowNew = Options.EmptyFile = true;
    Options.PeekTime = Options.TimeoutTime = -1;
    Options.DBpath = QStringLiteral("stale");
    Options.ColAccount = Options.ColURL = Options.MainLeft = Options.MainTop = Options.MainWidth = Options.MainHeight =
        -1.0F;
}
} // namespace

class TestProgramSettings : public QObject
{
    Q_OBJECT

    std::unique_ptr<support::Environment> m_env;

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<support::Environment>();
        m_env->keepReports();
        scribbleOverVariables();
    }

    void cleanup() { m_env.reset(); }

    void usersAreKeptApart()
    {
        ProgramSettings::setVerifierOf(QStringLiteral("BOB"), QStringLiteral("bob-verifier"));
        ProgramSettings::setVerifierOf(QStringLiteral("alice"), QStringLiteral("alice-verifier"));
        ProgramSettings::setLastLoginName(QStringLiteral("alice"));
        QCOMPARE(ProgramSettings::verifierOf(QStringLiteral("bob")), QStringLiteral("bob-verifier"));
        QCOMPARE(ProgramSettings::verifierOf(QStringLiteral("ALICE")), QStringLiteral("alice-verifier"));
        QCOMPARE(ProgramSettings::verifierOf(QStringLiteral("CAROL")), QString());
        QCOMPARE(ProgramSettings::lastLoginName(), QStringLiteral("ALICE"));

        ProgramSettings::saveAtExit(QStringLiteral("Bob"), 111.0F, 222.0F, 10455.0F, 7845.0F);
        ProgramSettings::loadAtStart(QStringLiteral("alice"), 9000.0F);
        QCOMPARE(Options.MainLeft, 1000.0F);
        ProgramSettings::loadAtStart(QStringLiteral("bOB"), 9000.0F);
        QCOMPARE(Options.MainLeft, 111.0F);

        // INI syntax in a name stays inside that name's section.
        const QString odd = QStringLiteral("A=B;C[D] #E");
        ProgramSettings::setVerifierOf(odd, QStringLiteral("odd-verifier"));
        QCOMPARE(ProgramSettings::verifierOf(odd), QStringLiteral("odd-verifier"));
        QCOMPARE(ProgramSettings::verifierOf(QStringLiteral("A")), QString());
    }
};

QTEST_GUILESS_MAIN(TestProgramSettings)
#include "test_programsettings.moc"
