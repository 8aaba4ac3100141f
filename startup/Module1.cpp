// Start-up: show the calculator, then the about window in front of it, and run on window
// events until the last window closes.
#include "ClassicFont.h"
#include "FontPreload.h"
#include "frmOstrel.h"
#include "PlatformChoice.h"
#include "frmSplash.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    preferX11WhenOffered();
    FontPreload fonts;
    QApplication app(argc, argv);
    fonts.wait();
    useDialogFontByDefault();
    QApplication::setApplicationName(QStringLiteral("Ostrel"));
    QApplication::setApplicationVersion(QStringLiteral(OSTREL_VERSION));

    auto *calculator = new frmOstrel;
    calculator->setAttribute(Qt::WA_DeleteOnClose);
    calculator->show();
    frmSplash::showSplash();
    return app.exec();
}
