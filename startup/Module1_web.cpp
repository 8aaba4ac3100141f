// Start-up in a browser: the page is the display, there is no command line, and the fonts come
// with the program. The calculator shows in the middle of the page, the about window in front.
#include "AboutAtStart.h"
#include "ClassicFont.h"
#include "ProgramVersion.h"
#include "WebFonts.h"
#include "WebModal.h"
#include "WebPlace.h"
#include "frmOstrel.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    WebFonts::load();
    useDialogFontByDefault();
    QApplication::setApplicationName(QStringLiteral("Ostrel"));
    QApplication::setApplicationVersion(programVersion());
    WebPlace::followPage();
    WebModal::keepKeysWithModal();

    auto *calculator = new frmOstrel;
    calculator->setAttribute(Qt::WA_DeleteOnClose);
    // The page is the calculator's frame: Qt would draw a title bar of its own on it, with a
    // close box that leaves an empty page.
    calculator->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    // show() would stretch it over the whole page, as a browser's first window.
    calculator->setVisible(true);
    AboutAtStart::showInFrontOf(calculator);
    return app.exec();
}
