#include "tools/HelpViewer.h"

#include "errortrap/Bulwark.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {
constexpr const char* kModule = "HelpViewer.cpp";
const QString kEmbeddedManual = QStringLiteral(":/help/index.html");
const QString kInstalledManual = QStringLiteral("lockwell/TovaneKeyfold.html");
constexpr int kWidthInChars = 90;
constexpr int kHeightInLines = 40;

QPointer<HelpViewer> g_window;

QToolButton* toolButton(QWidget* parent, const char* name, const QString& text, const QString& tip)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(text);
    button->setToolTip(tip);
    button->setAutoRaise(true);
    return button;
}

QUrl urlOf(const QString& path)
{
    if (path.startsWith(QLatin1String(":/")))
        return QUrl(QStringLiteral("qrc") + path);
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
}
} // namespace

HelpViewer::HelpViewer(QWidget* owner) : QWidget(owner, Qt::Window)
{
    BW_TRACE(kModule, "Sub Form_Initialize");
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Lockwell Help"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout();
    m_back = toolButton(this, "cmdBack", QStringLiteral("Back"), QStringLiteral("Back to the previous page"));
    m_forward = toolButton(this, "cmdForward", QStringLiteral("Forward"), QStringLiteral("Forward again"));
    QToolButton* home = toolButton(this, "cmdHome", QStringLiteral("Home"), QStringLiteral("The table of contents"));
    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    m_find = new QLineEdit(this);
    m_find->setObjectName(QStringLiteral("txtFind"));
    m_find->setPlaceholderText(QStringLiteral("Find in this page"));
    m_find->setClearButtonEnabled(true);
    QToolButton* find = toolButton(this, "cmdFind", QStringLiteral("Find"), QStringLiteral("Find the next match"));
    bar->addWidget(m_back);
    bar->addWidget(m_forward);
    bar->addWidget(home);
    bar->addStretch();
    bar->addWidget(m_find);
    bar->addWidget(find);
    layout->addLayout(bar);

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("txtManual"));
    m_browser->setOpenExternalLinks(true);
    layout->addWidget(m_browser);

    connect(m_back, &QToolButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QToolButton::clicked, m_browser, &QTextBrowser::forward);
    connect(home, &QToolButton::clicked, m_browser, &QTextBrowser::home);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QToolButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QToolButton::setEnabled);
    connect(find, &QToolButton::clicked, this, &HelpViewer::cmdFind_Click);
    connect(m_find, &QLineEdit::returnPressed, this, &HelpViewer::cmdFind_Click);

    const QFontMetrics metrics(font());
    resize(metrics.averageCharWidth() * kWidthInChars, metrics.lineSpacing() * kHeightInLines);
}

QString HelpViewer::notFoundText(const QString& helpFilePath)
{
    return QStringLiteral("The help file ") + helpFilePath + QStringLiteral(" cannot be found.");
}

QString HelpViewer::notReadableText(const QString& helpFilePath)
{
    return QStringLiteral("The help file ") + helpFilePath + QStringLiteral(" cannot be read.");
}

QString HelpViewer::showHelp(QWidget* owner, const QString& helpFilePath, const QString& topic)
{
    BW_TRACE(kModule, "Function showHelp");
    if (!QFileInfo(helpFilePath).isFile())
        return notFoundText(helpFilePath);
    QFile probe(helpFilePath);
    if (!probe.open(QIODevice::ReadOnly))
        return notReadableText(helpFilePath);
    probe.close();

    if (!g_window)
        g_window = new HelpViewer(owner);
    const QString failure = g_window->open(helpFilePath, topic);
    if (!failure.isEmpty())
        return failure;
    g_window->show();
    g_window->raise();
    g_window->activateWindow();
    return QString();
}

HelpViewer* HelpViewer::window()
{
    return g_window;
}

QString HelpViewer::open(const QString& helpFilePath, const QString& topic)
{
    BW_TRACE(kModule, "Function open");
    QUrl url = urlOf(helpFilePath);
    if (!topic.isEmpty())
        url.setFragment(topic);
    m_browser->setSource(url);
    if (m_browser->document()->isEmpty())
        return notReadableText(helpFilePath);
    return QString();
}

QString HelpViewer::defaultHelpFilePath()
{
    BW_TRACE(kModule, "Function defaultHelpFilePath");
    const QString installed = QStandardPaths::locate(QStandardPaths::GenericDataLocation, kInstalledManual);
    return installed.isEmpty() ? kEmbeddedManual : installed;
}

void HelpViewer::cmdFind_Click()
{
    bwHandler(kModule, "Sub cmdFind_Click", [&] {
        const QString wanted = m_find->text();
        if (wanted.isEmpty())
            return;
        // From the cursor on; at the end, once more from the top.
        if (!m_browser->find(wanted)) {
            m_browser->moveCursor(QTextCursor::Start);
            m_browser->find(wanted);
        }
    });
}
