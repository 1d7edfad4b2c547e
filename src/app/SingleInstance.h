#pragma once
// One running instance per user: the running instance answers on a local socket named from the main
// window's title banner and the user's account; a later start that reaches it asks it to bring its
// main window to the front and ends.
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

    // The socket's path: in $XDG_RUNTIME_DIR (else the temporary folder), named from the title banner
    // and the account name (else the user id).
    static QString channelName();

    // True when another instance is running; it has been asked to restore and raise its main window.
    static bool MultiInst();

    // Starts answering later starts. A socket file left behind by an instance that did not end cleanly
    // is replaced; false when another instance already answers or the socket cannot be made (the
    // program then runs without the single-instance guard).
    bool listen();
    bool isListening() const;

    // Brings a main window to the front: un-minimised, shown when hidden, raised and activated.
    static void bringToFront(QWidget* window);

Q_SIGNALS:
    // A later start has asked for the main window.
    void restoreRequested();

private:
    void answerLaterStart();

    QLocalServer m_server;
};
