#include "mainwindow/FilterKeys.h"

#include "errortrap/Bulwark.h"

#include <QKeyEvent>

namespace {
constexpr char kModule[] = "FilterKeys.cpp";
constexpr int kFirstPrintable = 32;
constexpr int kDelete = 127;
constexpr int kFirstPrintableAfterDelete = 160;

// A code no printable character has: the C0 controls, DEL and the C1 controls. Editing keys arrive with
// such codes on X11 (Backspace 8, Delete 127).
bool isControlCharacter(int keyAscii)
{
    return keyAscii < kFirstPrintable || (keyAscii >= kDelete && keyAscii < kFirstPrintableAfterDelete);
}

QString fieldName(FilterKeys::Field field)
{
    return field == FilterKeys::Field::Account ? QStringLiteral("Account") : QStringLiteral("URL");
}
} // namespace

int FilterKeys::keyAscii(const QKeyEvent& event)
{
    BW_TRACE(kModule, "Function keyAscii");
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter)
        return kEnter;
    const QString text = event.text();
    return text.isEmpty() ? 0 : int(text.at(0).unicode());
}

bool FilterKeys::isLetterOrDigit(int keyAscii)
{
    return (keyAscii >= '0' && keyAscii <= '9') || (keyAscii >= 'A' && keyAscii <= 'Z') ||
           (keyAscii >= 'a' && keyAscii <= 'z');
}

int FilterKeys::screenFilterKey(int keyAscii)
{
    BW_TRACE(kModule, "Function screenFilterKey");
    if (keyAscii == kEnter)
        return 0;
    if (!isControlCharacter(keyAscii) && !isLetterOrDigit(keyAscii))
        return 0;
    return keyAscii;
}

QString FilterKeys::beginsCriterion(Field field, const QString& text)
{
    BW_TRACE(kModule, "Function beginsCriterion");
    return fieldName(field) + QStringLiteral(" LIKE '") + text + QStringLiteral("*'");
}

QString FilterKeys::containsCriterion(Field field, const QString& text)
{
    BW_TRACE(kModule, "Function containsCriterion");
    return fieldName(field) + QStringLiteral(" LIKE '*") + text + QStringLiteral("*'");
}

QString FilterKeys::jumpCriterion(QChar typed)
{
    BW_TRACE(kModule, "Function jumpCriterion");
    return QStringLiteral("Account LIKE '") + typed + QStringLiteral("*'");
}
