#pragma once
// A multi-line edit box with a vertical scroll bar that, like a single-line box, holds at most
// maxLength characters: typed or pasted text beyond the limit is cut off. Tab moves the focus on.
#include <QPlainTextEdit>

class MultiLineBox : public QPlainTextEdit
{
    Q_OBJECT
    Q_PROPERTY(int maxLength READ maxLength WRITE setMaxLength)

public:
    explicit MultiLineBox(QWidget* parent = nullptr);

    int maxLength() const { return m_maxLength; }
    void setMaxLength(int length);

    // The text with line feeds as line breaks, and setting it without a change signal when it is the same.
    QString text() const { return toPlainText(); }
    void setText(const QString& text);

private:
    void enforceLimit();

    int m_maxLength = 32767;
    bool m_cutting = false;
};
