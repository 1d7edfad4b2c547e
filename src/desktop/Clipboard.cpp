#include "desktop/Clipboard.h"

#include "errortrap/Bulwark.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QStringList>
#include <memory>
#include <utility>

namespace {
constexpr char kModule[] = "Clipboard.cpp";

// A secret as the clipboard serves it. The text is made from the secret buffer each time a program
// asks for it (that copy is Qt's and short-lived); the buffer is wiped when the clipboard and the
// selection have both let go of the secret.
class SecretMimeData : public QMimeData
{
public:
    explicit SecretMimeData(std::shared_ptr<const SecretText> secret) : m_secret(std::move(secret)) {}

    QStringList formats() const override
    {
        QStringList formats{QStringLiteral("text/plain")};
        for (const ClipboardHint& hint : kSecretHints)
            formats << QString::fromLatin1(hint.format);
        return formats;
    }
    bool hasFormat(const QString& mimeType) const override { return formats().contains(mimeType); }

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType) const override
    {
        if (mimeType == QLatin1String("text/plain"))
            return m_secret->view().toString();
        for (const ClipboardHint& hint : kSecretHints) {
            if (mimeType == QLatin1String(hint.format))
                return QByteArray(hint.value);
        }
        return QVariant();
    }

private:
    std::shared_ptr<const SecretText> m_secret;
};

QClipboard* systemClipboard()
{
    return QGuiApplication::instance() ? QGuiApplication::clipboard() : nullptr;
}

// Hands the data to the clipboard, and a second one to the selection where there is one; null where
// it did not go.
std::pair<QMimeData*, QMimeData*> putOnBoth(QMimeData* forClipboard, QMimeData* forSelection)
{
    QClipboard* clipboard = systemClipboard();
    if (!clipboard) {
        delete forClipboard;
        delete forSelection;
        return {nullptr, nullptr};
    }
    clipboard->setMimeData(forClipboard, QClipboard::Clipboard); // the clipboard owns the data from here on
    if (!clipboard->supportsSelection()) {
        delete forSelection;
        return {forClipboard, nullptr};
    }
    clipboard->setMimeData(forSelection, QClipboard::Selection);
    return {forClipboard, forSelection};
}

QMimeData* plainText(const QString& text)
{
    auto* data = new QMimeData;
    data->setText(text);
    return data;
}

void takeBackFrom(QClipboard* clipboard, QClipboard::Mode mode, const QPointer<QMimeData>& ours)
{
    // The clipboard deletes the data it lets go of, so a live pointer that is still what the clipboard
    // serves is this copy; on X11 mimeData() also asks the server who owns the selection now.
    if (ours && clipboard->mimeData(mode) == ours)
        clipboard->clear(mode);
}
} // namespace

void clearClipboard()
{
    BW_TRACE(kModule, "Sub clearClipboard");
    QClipboard* clipboard = systemClipboard();
    if (!clipboard)
        return;
    clipboard->clear(QClipboard::Clipboard);
    if (clipboard->supportsSelection())
        clipboard->clear(QClipboard::Selection);
}

ClipboardEntry setClipboardText(const QString& text)
{
    BW_TRACE(kModule, "Function setClipboardText");
    const auto [clipboard, selection] = putOnBoth(plainText(text), plainText(text));
    return ClipboardEntry(clipboard, selection);
}

ClipboardEntry setClipboardSecret(SecretText secret)
{
    BW_TRACE(kModule, "Function setClipboardSecret");
    const auto held = std::make_shared<const SecretText>(std::move(secret));
    const auto [clipboard, selection] = putOnBoth(new SecretMimeData(held), new SecretMimeData(held));
    return ClipboardEntry(clipboard, selection);
}

void ClipboardEntry::takeBack()
{
    BW_TRACE(kModule, "Sub takeBack");
    if (QClipboard* clipboard = systemClipboard()) {
        takeBackFrom(clipboard, QClipboard::Clipboard, m_clipboard);
        takeBackFrom(clipboard, QClipboard::Selection, m_selection);
    }
    m_clipboard.clear();
    m_selection.clear();
}
