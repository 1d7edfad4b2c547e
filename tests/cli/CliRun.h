#pragma once
// lockwell-cli run as a process: the arguments, the text on its standard input, and what it answered.
// Every command but clip runs without a display, as on a server.
#include <QProcess>
#include <QtGlobal>

inline const QByteArray kMaster = "master pw\n";

struct Run
{
    int status = -1;
    QByteArray bytes; // standard output as written
    QString out;      // the same, as text
    QString err;
};

inline Run cli(const QStringList& arguments, const QByteArray& input = kMaster)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (arguments.value(0) != QLatin1String("clip")) {
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    }
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(LW_CLI), arguments);
    process.write(input);
    process.closeWriteChannel();
    // waitForFinished() also answers false when the program ended before it was asked (a write error on
    // the closed input, or the exit already seen): only one that still runs has not finished.
    if (!process.waitForFinished(120000) && process.state() != QProcess::NotRunning)
        qFatal("lockwell-cli did not finish");
    const QByteArray bytes = process.readAllStandardOutput();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, bytes, QString::fromUtf8(bytes),
            QString::fromUtf8(process.readAllStandardError())};
}
