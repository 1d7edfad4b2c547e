#include "cli/ClipboardHold.h"

#include <QClipboard>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMimeData>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
// The mark that tells clipboard managers not to keep an entry.
constexpr char kPasswordManagerHint[] = "x-kde-passwordManagerHint";
constexpr int kEndSignals[] = {SIGINT, SIGTERM, SIGHUP};

int g_signalPipe[2] = {-1, -1};

extern "C" void noteEndSignal(int)
{
    const char byte = 1;
    (void)!::write(g_signalPipe[1], &byte, 1);
}

// Turns the signals that end a program into an event the wait can act on, for as long as it lives.
class EndSignals
{
public:
    EndSignals()
    {
        if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
            return;
        for (const int signalNumber : kEndSignals)
            std::signal(signalNumber, noteEndSignal);
        m_notifier = std::make_unique<QSocketNotifier>(g_signalPipe[0], QSocketNotifier::Read);
    }
    ~EndSignals()
    {
        for (const int signalNumber : kEndSignals)
            std::signal(signalNumber, SIG_DFL);
        m_notifier.reset();
        for (int& fd : g_signalPipe) {
            if (fd >= 0)
                ::close(fd);
            fd = -1;
        }
    }
    EndSignals(const EndSignals&) = delete;
    EndSignals& operator=(const EndSignals&) = delete;

    QSocketNotifier* notifier() const { return m_notifier.get(); }

private:
    std::unique_ptr<QSocketNotifier> m_notifier;
};

bool stillHolds(const QClipboard& clipboard, const QString& text)
{
    return clipboard.ownsClipboard() && clipboard.text() == text;
}
} // namespace

bool holdOnClipboard(const QString& text, int seconds)
{
    QClipboard& clipboard = *QGuiApplication::clipboard();
    auto* data = new QMimeData;
    data->setText(text);
    data->setData(QLatin1String(kPasswordManagerHint), QByteArrayLiteral("secret"));
    clipboard.setMimeData(data, QClipboard::Clipboard);

    QEventLoop wait;
    const EndSignals endSignals;
    if (endSignals.notifier())
        QObject::connect(endSignals.notifier(), &QSocketNotifier::activated, &wait, &QEventLoop::quit);
    QObject::connect(&clipboard, &QClipboard::dataChanged, &wait, [&] {
        if (!clipboard.ownsClipboard())
            wait.quit(); // the user copied something else: nothing left to clear
    });
    QTimer::singleShot(seconds * 1000, &wait, &QEventLoop::quit);
    if (clipboard.ownsClipboard())
        wait.exec();

    if (!stillHolds(clipboard, text))
        return false;
    clipboard.clear(QClipboard::Clipboard);
    return true;
}
