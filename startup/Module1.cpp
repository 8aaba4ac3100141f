// Start-up: answer --help and --version, make sure there is a display, show the calculator,
// then the about window in front of it, and run on window events until the last window closes.
#include "AboutAtStart.h"
#include "ClassicFont.h"
#include "CommandLine.h"
#include "ConnectionGuard.h"
#include "DisplayCheck.h"
#include "FontPreload.h"
#include "frmOstrel.h"
#include "PanelHints.h"
#include "PlatformChoice.h"
#include "ProgramVersion.h"

#include <QApplication>

#include <cstdio>
#include <memory>

namespace {

// What is settled before Qt starts: the options answered without a display, and whether there
// is a display to go to. An exit status when the program ends here.
std::optional<int> beforeQt(int argc, char *argv[])
{
    if (const std::optional<int> status = CommandLine::answer(argc, argv))
        return status;
    preferX11WhenOffered();
    const QByteArray noDisplay = DisplayCheck::missing(argc, argv);
    if (noDisplay.isEmpty())
        return std::nullopt;
    std::fprintf(stderr, "ostrel: no display found: %s\n", noDisplay.constData());
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (const std::optional<int> status = beforeQt(argc, argv))
        return *status;
    FontPreload fonts;
    auto guard = std::make_unique<ConnectionGuard>();
    QApplication app(argc, argv);
    guard.reset();
    fonts.wait();
    useDialogFontByDefault();
    PanelHints::setProgramName(&argv[0]);
    QApplication::setApplicationName(QStringLiteral("Ostrel"));
    QApplication::setApplicationVersion(programVersion());
    // The Wayland app_id, by which desktops find the window's launcher and icon. The X11
    // class stays the program's name, the entry's StartupWMClass.
    QGuiApplication::setDesktopFileName(QStringLiteral(OSTREL_DESKTOP_ID));

    auto *calculator = new frmOstrel;
    calculator->setAttribute(Qt::WA_DeleteOnClose);
    calculator->show();
    AboutAtStart::showInFrontOf(calculator);
    return app.exec();
}
