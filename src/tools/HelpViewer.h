#pragma once
// The program's help viewer: one window that shows the user manual (HTML) with Back, Forward, Home and a find
// box. The records window opens it for its help commands, the error report for its help button.
#include <QString>
#include <QWidget>

class QLineEdit;
class QTextBrowser;
class QToolButton;

class HelpViewer : public QWidget
{
    Q_OBJECT

public:
    // Shows helpFilePath (a file on disk, or ":/help/..." for the manual built into the program) at its
    // start, or at the anchor `topic` when one is given, in the one help window, which is created on first
    // use and raised after that. owner is the window it belongs to (the help window stays a window of its
    // own). Returns an empty text when the manual is shown, else the description of the failure.
    static QString showHelp(QWidget* owner, const QString& helpFilePath, const QString& topic = QString());

    // The help window, once showHelp() has created it.
    static HelpViewer* window();

    // The manual: the installed copy in the program's data folder ("lockwell/TovaneKeyfold.html" under the XDG
    // data folders) when there is one, else the copy built into the program.
    static QString defaultHelpFilePath();

    // Texts of the failures showHelp() reports.
    static QString notFoundText(const QString& helpFilePath);
    static QString notReadableText(const QString& helpFilePath);

    QTextBrowser* browser() const { return m_browser; }

public Q_SLOTS:
    void cmdFind_Click();

private:
    explicit HelpViewer(QWidget* owner);
    QString open(const QString& helpFilePath, const QString& topic);

    QTextBrowser* m_browser = nullptr;
    QLineEdit* m_find = nullptr;
    QToolButton* m_back = nullptr;
    QToolButton* m_forward = nullptr;
};
