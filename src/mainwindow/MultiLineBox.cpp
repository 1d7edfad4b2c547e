#include "mainwindow/MultiLineBox.h"

#include "errortrap/Bulwark.h"

#include <QTextCursor>

namespace {
constexpr char kModule[] = "MultiLineBox.cpp";
}

MultiLineBox::MultiLineBox(QWidget* parent) : QPlainTextEdit(parent)
{
    BW_TRACE(kModule, "Sub UserControl_Initialize");
    setTabChangesFocus(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    connect(this, &QPlainTextEdit::textChanged, this, &MultiLineBox::enforceLimit);
}

void MultiLineBox::setMaxLength(int length)
{
    BW_TRACE(kModule, "Sub setMaxLength");
    m_maxLength = length < 0 ? 0 : length;
    enforceLimit();
}

void MultiLineBox::setText(const QString& text)
{
    BW_TRACE(kModule, "Sub setText");
    const QString limited = text.left(m_maxLength);
    if (limited != toPlainText())
        setPlainText(limited);
}

void MultiLineBox::enforceLimit()
{
    BW_TRACE(kModule, "Sub enforceLimit");
    if (m_cutting)
        return;
    const int excess = document()->characterCount() - 1 - m_maxLength;
    if (excess <= 0)
        return;
    // Cut what the last edit added beyond the limit, where it was added, so the user sees it refused.
    m_cutting = true;
    QTextCursor cursor = textCursor();
    const int end = cursor.position();
    const int start = end - excess >= 0 ? end - excess : 0;
    if (end > start) {
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
    } else {
        cursor.movePosition(QTextCursor::End);
        cursor.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor, excess);
    }
    cursor.removeSelectedText();
    m_cutting = false;
}
