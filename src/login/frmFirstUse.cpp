#include "login/frmFirstUse.h"

#include "desktop/WindowPlacement.h"
#include "errortrap/Bulwark.h"
#include "login/CapsLockSeam.h"
#include "login/SkinRegion.h"
#include "ui_frmFirstUse.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {
constexpr const char* kModule = "frmFirstUse.frm";
constexpr int kSkinInset = 4;
constexpr int kSkinCorner = 50;

const QString kCrLf = QStringLiteral("\r\n");
} // namespace

QString firstUseWelcomeText(bool capsLockOn)
{
    BW_TRACE(kModule, "Function firstUseWelcomeText");
    QString text = QStringLiteral("Please take care to enter a suitable User Name in the following ") +
                   QStringLiteral("Login screen.") + kCrLf + kCrLf +
                   QStringLiteral("NOTE: A default user name has been entered but you can change ") +
                   QStringLiteral("this to something more suitable if you wish.") + kCrLf + kCrLf + kCrLf +
                   QStringLiteral("Also take care to enter a strong (MASTER) password!") + kCrLf +
                   QStringLiteral("Data files are encrypted using this Login information so") + kCrLf +
                   QStringLiteral("it is worth paying attention to this detail!");
    if (capsLockOn)
        text += kCrLf + kCrLf + QStringLiteral("(Beware that your Caps key is ON!)");
    return text;
}

frmFirstUse::frmFirstUse(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), ui(std::make_unique<Ui::frmFirstUse>())
{
    BW_TRACE(kModule, "Sub Form_Initialize");
    ui->setupUi(this);
    setFixedSize(size());

    // Light text on the painted background.
    QPalette onBackground = palette();
    onBackground.setColor(QPalette::WindowText, QColor(0xF4, 0xF7, 0xFC));
    ui->lblWarn->setPalette(onBackground);
    ui->lblWarn2->setPalette(onBackground);
    QFont titleFont = ui->lblWarn->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.8);
    titleFont.setBold(true);
    ui->lblWarn->setFont(titleFont);
    QFont textFont = ui->lblWarn2->font();
    textFont.setPointSizeF(textFont.pointSizeF() * 1.1);
    ui->lblWarn2->setFont(textFont);

    connect(ui->cmdContinue, &QPushButton::clicked, this, &frmFirstUse::cmdContinue_Click);
    Form_Load();
    // Its owner, the login, is not shown yet: centring on the owner would put it in the screen's corner.
    WindowPlacement::centreOnScreen(this);
}

frmFirstUse::~frmFirstUse() = default;

void frmFirstUse::Form_Load()
{
    bwHandler(kModule, "Sub Form_Load", [&] {
        ui->lblWarn->setText(QStringLiteral("Welcome to Lockwell !"));
        ui->lblWarn2->setText(firstUseWelcomeText(loginCapsLockOn()));
        pCreateSkin();
    });
}

void frmFirstUse::cmdContinue_Click()
{
    bwHandler(kModule, "Sub cmdContinue_Click", [&] { accept(); });
}

void frmFirstUse::pCreateSkin()
{
    BW_TRACE(kModule, "Sub pCreateSkin");
    // Qt's widget geometry is already in pixels (device-independent ones).
    const int w = width();
    const int h = height();
    setMask(roundRectRegion(kSkinInset, kSkinInset, w, h, kSkinCorner, kSkinCorner));
    update();
}

void frmFirstUse::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    pCreateSkin();
}

void frmFirstUse::paintEvent(QPaintEvent*)
{
    // The background picture: a deep blue wash with a lighter rim along the outline.
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient wash(0, 0, 0, height());
    wash.setColorAt(0.0, QColor(0x1F, 0x4E, 0x8C));
    wash.setColorAt(1.0, QColor(0x0C, 0x22, 0x44));
    painter.fillRect(rect(), wash);
    QPainterPath rim;
    rim.addRoundedRect(
        QRectF(kSkinInset + 1.5, kSkinInset + 1.5, width() - kSkinInset - 3.0, height() - kSkinInset - 3.0),
        kSkinCorner / 2.0 - 1.5, kSkinCorner / 2.0 - 1.5);
    painter.setPen(QPen(QColor(0x8F, 0xB4, 0xE6), 2.0));
    painter.drawPath(rim);
}
