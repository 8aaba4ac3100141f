#include "frmSplash.h"

#include "CalculatorPicture.h"
#include "ClassicFont.h"
#include "DesktopPlace.h"
#include "PanelHints.h"
#include "SplashElements.h"
#include "StretchedPicture.h"
#include "Twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>

#include <array>

namespace {

// Stands in for the window border that the frameless window does not get.
constexpr int borderPixels = 1;

QPointer<frmSplash> openSplash;

QPoint fixedPosition()
{
    return DesktopPlace::at(SplashWindow::screenLeft, SplashWindow::screenTop)
        - QPoint(borderPixels, borderPixels);
}

// An auto-sized label takes its text's size; a right-aligned one keeps its right edge.
void fitToText(QLabel *label)
{
    const QRect box = label->geometry();
    label->resize(label->sizeHint());
    if (label->alignment() & Qt::AlignRight)
        label->move(box.x() + box.width() - label->width(), box.y());
}

void showText(QLabel *label, const SplashElement &element)
{
    if (element.font.family)
        label->setFont(classicFont(QString::fromLatin1(element.font.family),
                                   element.font.pointSize, element.font.bold));
    label->setAlignment(element.alignment);
    // Plain text: no text here is markup, and the rich-text test would page in code for nothing.
    label->setTextFormat(Qt::PlainText);
    label->setText(QString::fromUtf8(element.text));
    if (element.autoSize)
        fitToText(label);
}

// A key closes the window when it types a character: a printable one, or Space, Enter,
// Escape, Backspace or Tab (where a platform sends these without text). Delete's U+007F,
// Ctrl and Alt combinations, and keys without text do not.
bool producesCharacter(const QKeyEvent *event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Backspace:
    case Qt::Key_Tab:
    case Qt::Key_Space:
        return true;
    default:
        break;
    }
    const QString text = event->text();
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (!c.isPrint())
            return false;
    }
    return true;
}

// The keyboard goes back to the window left open (the calculator), as a window manager would
// do; without one, access keys would find no active window.
void handKeyboardBack(const QWidget *closing)
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window != closing && window->isVisible() && !window->isMinimized()) {
            window->activateWindow();
            return;
        }
    }
}

// The first three dot-separated numbers of a version text, as QVersionNumber reads them; a
// missing number is 0. Read here, not by QVersionNumber, whose code would be paged in for
// this one line.
std::array<int, 3> versionNumbers(const QString &version)
{
    std::array<int, 3> numbers = {0, 0, 0};
    std::size_t part = 0;
    for (const QChar c : version) {
        if (c == u'.' && ++part < numbers.size())
            continue;
        if (part >= numbers.size() || c < u'0' || c > u'9' || numbers[part] > 99999999)
            break;
        numbers[part] = numbers[part] * 10 + (c.unicode() - u'0');
    }
    return numbers;
}

} // namespace

// An ordinary window without an owner: a tool window would be kept above the calculator.
frmSplash::frmSplash()
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint)
{
    // The program must run on while the about window is open.
    setAttribute(Qt::WA_QuitOnClose, true);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString());
    setWindowIcon(QIcon(calculatorPicture()));
    setFont(dialogFont());
    buildWindow();
    Form_Load();
}

void frmSplash::showSplash()
{
    if (!openSplash) {
        openSplash = new frmSplash;
        openSplash->move(fixedPosition());
        PanelHints::apply(openSplash);
        PanelHints::show(openSplash);
    }
    openSplash->raise();
    openSplash->activateWindow();
}

frmSplash *frmSplash::current()
{
    return openSplash.data();
}

void frmSplash::buildWindow()
{
    auto *border = new QFrame(this);
    border->setObjectName(QStringLiteral("fraBorder"));
    border->setFrameStyle(QFrame::Box | QFrame::Plain);
    border->setLineWidth(borderPixels);

    QWidget *client = buildClientArea(border);
    client->move(borderPixels, borderPixels);

    const QSize outer = client->size() + QSize(2 * borderPixels, 2 * borderPixels);
    border->resize(outer);
    setFixedSize(outer);
}

QWidget *frmSplash::buildClientArea(QWidget *border)
{
    using namespace SplashWindow;
    auto *client = new QWidget(border);
    client->setObjectName(QStringLiteral("client"));
    client->resize(Twips::toPixels(clientWidth), Twips::toPixels(clientHeight));

    auto *frame = new QFrame(client);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame->setGeometry(Twips::toPixels(frameLeft, frameTop, frameWidth, frameHeight));

    for (const SplashElement &element : splashElements())
        buildElement(element, frame);
    return client;
}

void frmSplash::buildElement(const SplashElement &element, QWidget *frame)
{
    auto *label = element.kind == SplashKind::Picture
        ? new StretchedPicture(calculatorPicture(), frame)
        : new QLabel(frame);
    label->setObjectName(QString::fromLatin1(element.name));
    label->setFocusPolicy(Qt::NoFocus);
    // Labels ignore clicks, which then reach the window and close it; stop that where a
    // click must do nothing.
    label->setAttribute(Qt::WA_NoMousePropagation, !element.closesOnClick);
    label->setGeometry(
        Twips::toPixels(element.left, element.top, element.width, element.height));
    if (element.kind != SplashKind::Picture)
        showText(label, element);
}

void frmSplash::Form_Load()
{
    const std::array<int, 3> version = versionNumbers(QCoreApplication::applicationVersion());
    auto *lblVersion = findChild<QLabel *>(QStringLiteral("lblVersion"));
    lblVersion->setText(QStringLiteral("Version %1.%2.%3")
                            .arg(version[0])
                            .arg(version[1])
                            .arg(version[2]));
    fitToText(lblVersion);
}

// A click is a press and a release on the same element, with any button. The first click of
// a double-click closes the window, so no double-click event is left to handle.
void frmSplash::mousePressEvent(QMouseEvent *event)
{
    m_pressedOn = childAt(event->position().toPoint());
    m_pressed = true;
    event->accept();
}

void frmSplash::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && rect().contains(event->position().toPoint())
        && childAt(event->position().toPoint()) == m_pressedOn;
    if (event->buttons() == Qt::NoButton)
        m_pressed = false;
    if (click)
        close();
    else
        QWidget::mouseReleaseEvent(event);
}

void frmSplash::keyPressEvent(QKeyEvent *event)
{
    if (producesCharacter(event))
        close();
    else
        QWidget::keyPressEvent(event);
}

void frmSplash::closeEvent(QCloseEvent *event)
{
    if (openSplash == this)
        openSplash = nullptr;
    QWidget::closeEvent(event);
    if (event->isAccepted() && (isActiveWindow() || !QApplication::activeWindow()))
        handKeyboardBack(this);
}
