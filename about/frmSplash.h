#pragma once

#include <QWidget>

struct SplashElement;

// The about window: a borderless window without an owner at a fixed place on the screen,
// showing the calculator picture, the maker and the program's version. A click on most of
// it, or any key that produces a character, closes and destroys it.
class frmSplash : public QWidget
{
    Q_OBJECT

public:
    // Brings the open about window to the front, or creates, places and shows a new one.
    static void showSplash();

    // The open about window; nullptr once it has been closed.
    static frmSplash *current();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    frmSplash();

    void buildWindow();
    QWidget *buildClientArea(QWidget *border);
    void buildElement(const SplashElement &element, QWidget *frame);
    void Form_Load();

    // Where the last press began: the element under it, nullptr for the window itself.
    QWidget *m_pressedOn = nullptr;
    bool m_pressed = false;
};
