#pragma once
// One running instance per user. The first start takes a guard (a lock on a file in a folder only this
// user can write) before it shows anything, and holds it until it ends; the system lets go of it when the
// process dies, however it dies. A later start that finds the guard taken ends, after asking the running
// instance, over a local socket of the running instance's own, to bring its window to the front.
#include <QLocalServer>
#include <QObject>
#include <QString>

class QWidget;

class SingleInstance : public QObject
{
    Q_OBJECT

public:
    explicit SingleInstance(QObject* parent = nullptr);
    ~SingleInstance() override;

    // The folder of the guard and the socket, writable by this user only: $XDG_RUNTIME_DIR when it is the
    // user's own folder that nobody else can write, else "lockwell" in the user's cache folder, made
    // 0700 and checked in the same way. Empty when neither can be had (never a shared folder).
    static QString privateFolder();
    // The guard file, named from the title banner and the account name (else the user id).
    static QString guardPath();

    // True when another instance runs: it has been asked to restore and raise its main window. Otherwise
    // this object holds the guard from now on and answers later starts (restoreRequested). Without a
    // private folder the program runs unguarded.
    bool MultiInst();
    bool holdsGuard() const { return m_guard >= 0; }
    bool isListening() const;

    // Brings a window to the front: un-minimised, shown when hidden, raised and activated.
    static void bringToFront(QWidget* window);

Q_SIGNALS:
    // A later start has asked for the main window.
    void restoreRequested();

private:
    // Answers later starts on a new socket named from name.
    void listen(const QString& name);
    void answerLaterStart();

    int m_guard = -1;
    QLocalServer m_server;
};
