// The floor for start-up: a bare Qt Widgets window about the calculator's size with 30 push
// buttons, nothing loaded, no fonts chosen, no second window.
#include <QApplication>
#include <QPushButton>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare Qt window"));
    window.setFixedSize(286, 198);
    constexpr int columns = 6, width = 41, height = 33;
    for (int i = 0; i < 30; ++i) {
        auto *button = new QPushButton(QString::number(i), &window);
        button->setGeometry(7 + (i % columns) * (width + 4), 33 + (i / columns) * height, width,
                            height);
    }
    window.show();
    return app.exec();
}
