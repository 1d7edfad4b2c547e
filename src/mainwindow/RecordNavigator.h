#pragma once
// The data control Adodc1 as the window shows it: the caption "ACCOUNT SELECTOR" between the buttons
// that move to the first, previous, next and last record of the data control's record set. Moving past
// either end stays on the first or last record.
#include <QFrame>

class DataControl;
class QLabel;
class QToolButton;

class RecordNavigator : public QFrame
{
    Q_OBJECT
    Q_PROPERTY(QString caption READ caption WRITE setCaption)

public:
    explicit RecordNavigator(QWidget* parent = nullptr);
    ~RecordNavigator() override;

    DataControl& dataControl() const { return *m_dataControl; }

    QString caption() const;
    void setCaption(const QString& caption);

public Q_SLOTS:
    void moveFirst();
    void movePrevious();
    void moveNext();
    void moveLast();

private:
    QToolButton* addButton(const QString& name, const QString& arrow, const QString& tip);

    DataControl* m_dataControl;
    QLabel* m_caption;
};
