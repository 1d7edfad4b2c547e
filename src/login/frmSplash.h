#pragma once
// The splash window shown while the program starts: the program's name and version.
#include <QWidget>
#include <memory>

namespace Ui {
class frmSplash;
}

// The version the build was made from, as the splash shows it ("Version 0.1.0").
QString splashVersionText();

class frmSplash : public QWidget
{
    Q_OBJECT

public:
    explicit frmSplash(QWidget* parent = nullptr);
    ~frmSplash() override;

    // Shows the splash modelessly, has it painted at once, then blocks the thread for `milliseconds`
    // (nothing else runs meanwhile) and unloads it.
    static void showFor(int milliseconds);

public Q_SLOTS:
    void Form_Load();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Shows the window and returns once it is on the screen and painted (or a second has passed).
    void showPainted();

    std::unique_ptr<Ui::frmSplash> ui;
};
