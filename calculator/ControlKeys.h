#pragma once

#include <QList>
#include <QObject>

class QAbstractButton;

// Where Qt's own keyboard handling of the controls departs from the calculator's:
// - an access key presses its control at once, as a key handler does; Qt clicks about
//   100 ms later, so a key typed in between would run first;
// - the arrow keys move through the standards in their tab order, wrapping; Qt moves by
//   position on the screen, where 23.98 stands between FILM and frm.
class ControlKeys : public QObject
{
    Q_OBJECT

public:
    // options: the standards' option buttons in tab order.
    ControlKeys(QList<QAbstractButton *> options, QObject *parent);

    // Takes over the access key of button (and the arrows, for an option button).
    void watch(QAbstractButton *button);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool pressAtOnce(QAbstractButton *button, QEvent *event);
    bool moveWithinOptions(QAbstractButton *option, QEvent *event);

    QList<QAbstractButton *> m_options;
};
