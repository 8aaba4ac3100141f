// Start-up: show the calculator without waiting, then run on window events until the last
// window closes.
#include "frmOstrel.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ostrel"));
    QApplication::setApplicationVersion(QStringLiteral(OSTREL_VERSION));

    auto *calculator = new frmOstrel;
    calculator->setAttribute(Qt::WA_DeleteOnClose);
    calculator->show();
    return app.exec();
}
