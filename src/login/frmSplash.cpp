#include "login/frmSplash.h"

#include "LockwellVersion.h"
#include "app/StringTable.h"
#include "desktop/WindowPlacement.h"
#include "errortrap/Bulwark.h"
#include "ui_frmSplash.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLinearGradient>
#include <QPainter>
#include <QThread>
#include <QWindow>

namespace {
constexpr const char* kModule = "frmSplash.frm";
constexpr int kExposeWaitMs = 1000;
} // namespace

QString splashVersionText()
{
    BW_TRACE(kModule, "Function splashVersionText");
    return QStringLiteral("Version ") + QString::fromLatin1(kLockwellVersion);
}

frmSplash::frmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      ui(std::make_unique<Ui::frmSplash>())
{
    BW_TRACE(kModule, "Sub Form_Initialize");
    ui->setupUi(this);
    setFixedSize(size());

    QPalette onBackground = palette();
    onBackground.setColor(QPalette::WindowText, QColor(0xF4, 0xF7, 0xFC));
    for (QLabel* label : {ui->lblProductName, ui->lblDescription, ui->lblVersion})
        label->setPalette(onBackground);
    QFont nameFont = ui->lblProductName->font();
    nameFont.setPointSizeF(nameFont.pointSizeF() * 3.0);
    nameFont.setBold(true);
    ui->lblProductName->setFont(nameFont);
    QFont descriptionFont = ui->lblDescription->font();
    descriptionFont.setPointSizeF(descriptionFont.pointSizeF() * 1.4);
    ui->lblDescription->setFont(descriptionFont);

    Form_Load();
}

frmSplash::~frmSplash() = default;

void frmSplash::Form_Load()
{
    bwHandler(kModule, "Sub Form_Load", [&] {
        LoadResStrings(this);
        ui->lblVersion->setText(splashVersionText());
    });
}

void frmSplash::showFor(int milliseconds)
{
    BW_TRACE(kModule, "Sub showFor");
    frmSplash splash;
    splash.showPainted();
    QThread::msleep(static_cast<unsigned long>(milliseconds));
    splash.close();
}

void frmSplash::showPainted()
{
    BW_TRACE(kModule, "Sub showPainted");
    WindowPlacement::centreOnScreen(this);
    show();
    raise();
    QElapsedTimer waited;
    waited.start();
    while (!(windowHandle() && windowHandle()->isExposed()) && waited.elapsed() < kExposeWaitMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    repaint();
    QCoreApplication::processEvents();
}

void frmSplash::paintEvent(QPaintEvent*)
{
    // A plain blue wash behind the name, with a thin light frame.
    QPainter painter(this);
    QLinearGradient wash(0, 0, width(), height());
    wash.setColorAt(0.0, QColor(0x1F, 0x4E, 0x8C));
    wash.setColorAt(1.0, QColor(0x0C, 0x22, 0x44));
    painter.fillRect(rect(), wash);
    painter.setPen(QPen(QColor(0x8F, 0xB4, 0xE6), 2.0));
    painter.drawRect(QRectF(rect()).adjusted(1.0, 1.0, -1.0, -1.0));
}
