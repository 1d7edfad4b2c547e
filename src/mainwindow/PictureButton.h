#pragma once
// A picture that acts as a button: it shows its released picture, its pressed picture while a mouse
// button is held down on it, and reports a click when the left button is let go over it. A disabled
// picture button receives no mouse events at all. Pictures are the program's byte resources, named
// "...UP" (released) and "...DOWN" (pressed).
#include <QPixmap>
#include <QString>
#include <QWidget>

class PictureButton : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString upPicture READ upPicture WRITE setUpPicture)
    Q_PROPERTY(QString downPicture READ downPicture WRITE setDownPicture)

public:
    explicit PictureButton(QWidget* parent = nullptr);

    // The released picture's resource name; setting it shows that picture. Empty: the button changes
    // its pictures only through UpdateImage (the owner handles its mouse events).
    QString upPicture() const { return m_upName; }
    void setUpPicture(const QString& name);
    QString downPicture() const { return m_downName; }
    void setDownPicture(const QString& name) { m_downName = name; }

    // The resource name of the picture shown now ("" before any was loaded).
    QString pictureName() const { return m_pictureName; }
    QPixmap picture() const { return m_picture; }
    void setPicture(const QPixmap& picture, const QString& name);

    // Makes the button follow the enabled state of a command: the button is enabled exactly when the
    // command is, from now on.
    void mirrorEnabledOf(QWidget* command);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

Q_SIGNALS:
    void mouseDown(Qt::MouseButton button);
    void mouseUp(Qt::MouseButton button);
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString m_upName;
    QString m_downName;
    QString m_pictureName;
    QPixmap m_picture;
    QWidget* m_command = nullptr;
    Qt::MouseButtons m_held;
};

// Loads the named picture resource into the button, through a temporary file as the resources are
// written out for any other use. True when the picture changed; a missing resource or a file that is
// not a picture leaves the old picture.
bool UpdateImage(PictureButton* image, const QString& resourceName);
