#include "desktop/Clipboard.h"

#include "errortrap/Bulwark.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

void clearClipboard()
{
    BW_TRACE("Clipboard.cpp", "Sub clearClipboard");
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->clear(QClipboard::Clipboard);
}

void setClipboardText(const QString& text, bool secret)
{
    BW_TRACE("Clipboard.cpp", "Sub setClipboardText");
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return;
    auto* data = new QMimeData;
    data->setText(text);
    if (secret)
        data->setData(QString::fromLatin1(kPasswordManagerHint), QByteArray(kPasswordManagerHintSecret));
    clipboard->setMimeData(data, QClipboard::Clipboard); // the clipboard owns data from here on
}
