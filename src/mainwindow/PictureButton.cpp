#include "mainwindow/PictureButton.h"

#include "desktop/SystemHelpers.h"
#include "errortrap/Bulwark.h"
#include "storage/ResourceFile.h"

#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace {
constexpr char kModule[] = "PictureButton.cpp";
constexpr int kDefaultSide = 24;
constexpr double kDisabledOpacity = 0.35;

// Pictures already read, by name and pixel ratio: the resources never change while the program runs, so
// each one is written out and decoded once.
QHash<QString, QPixmap>& pictureCache()
{
    static QHash<QString, QPixmap> cache;
    return cache;
}

// The pictures are drawn for the sharpest screen the program shows on, so that none is scaled up.
qreal pictureRatio()
{
    return std::max<qreal>(1.0, qGuiApp ? qGuiApp->devicePixelRatio() : 1.0);
}

bool readPicture(const QString& resourceName, qreal ratio, QPixmap& picture)
{
    BW_TRACE(kModule, "Function readPicture");
    const QString file = GetTempFile(QStringLiteral("lwd"));
    if (file.isEmpty())
        return false;
    QImage image;
    if (SaveResItemToDisk(resourceName, QStringLiteral("CUSTOM"), file) == 0) {
        QImageReader reader(file);
        // A drawing (SVG) is rendered at the screen's pixel density; a bitmap is read as it is.
        const QSize designed = reader.size();
        if (ratio > 1.0 && designed.isValid() && reader.supportsOption(QImageIOHandler::ScaledSize))
            reader.setScaledSize((QSizeF(designed) * ratio).toSize());
        else
            ratio = 1.0;
        image = reader.read();
    }
    QFile::remove(file);
    if (image.isNull())
        return false;
    picture = QPixmap::fromImage(image);
    picture.setDevicePixelRatio(ratio);
    return true;
}
} // namespace

PictureButton::PictureButton(QWidget* parent) : QWidget(parent)
{
    BW_TRACE(kModule, "Sub UserControl_Initialize");
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
}

void PictureButton::setUpPicture(const QString& name)
{
    BW_TRACE(kModule, "Sub setUpPicture");
    m_upName = name;
    if (!name.isEmpty())
        UpdateImage(this, name);
}

void PictureButton::setPicture(const QPixmap& picture, const QString& name)
{
    BW_TRACE(kModule, "Sub setPicture");
    const bool resized = picture.size() != m_picture.size();
    m_picture = picture;
    m_pictureName = name;
    if (resized)
        updateGeometry();
    update();
}

void PictureButton::mirrorEnabledOf(QWidget* command)
{
    BW_TRACE(kModule, "Sub mirrorEnabledOf");
    if (m_command)
        m_command->removeEventFilter(this);
    m_command = command;
    if (!command)
        return;
    command->installEventFilter(this);
    setEnabled(command->isEnabled());
}

bool PictureButton::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_command && event->type() == QEvent::EnabledChange)
        setEnabled(m_command->isEnabled());
    return QWidget::eventFilter(watched, event);
}

QSize PictureButton::sizeHint() const
{
    if (m_picture.isNull())
        return {kDefaultSide, kDefaultSide};
    return m_picture.deviceIndependentSize().toSize();
}

void PictureButton::paintEvent(QPaintEvent*)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!isEnabled())
        painter.setOpacity(kDisabledOpacity);
    const QSize size = m_picture.deviceIndependentSize().toSize();
    painter.drawPixmap((width() - size.width()) / 2, (height() - size.height()) / 2, m_picture);
}

void PictureButton::mousePressEvent(QMouseEvent* event)
{
    BW_TRACE(kModule, "Sub UserControl_MouseDown");
    event->accept();
    m_held |= event->button();
    if (!m_downName.isEmpty())
        UpdateImage(this, m_downName);
    Q_EMIT mouseDown(event->button());
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event)
{
    BW_TRACE(kModule, "Sub UserControl_MouseUp");
    event->accept();
    const bool wasHeld = m_held.testFlag(event->button());
    m_held &= ~Qt::MouseButtons(event->button());
    if (!m_upName.isEmpty())
        UpdateImage(this, m_upName);
    Q_EMIT mouseUp(event->button());
    // A click is the left button let go over the picture it went down on.
    if (wasHeld && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

bool UpdateImage(PictureButton* image, const QString& resourceName)
{
    BW_TRACE(kModule, "Function UpdateImage");
    if (!image || resourceName.isEmpty())
        return false;
    const qreal ratio = pictureRatio();
    const QString key = resourceName + QLatin1Char('@') + QString::number(ratio);
    auto cached = pictureCache().constFind(key);
    if (cached == pictureCache().constEnd()) {
        QPixmap picture;
        if (!readPicture(resourceName, ratio, picture))
            return false;
        cached = pictureCache().insert(key, picture);
    }
    image->setPicture(cached.value(), resourceName);
    return true;
}
