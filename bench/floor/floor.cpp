// The floor of the start-up benchmark: the least a Qt Widgets program does to put a
// window of the player's size on the screen, a frameless 610 × 450 window with one
// label. Given an argument, the label shows that text instead of the plain one.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::FramelessWindowHint | Qt::Window);
    window.setFixedSize(610, 450);
    QLabel label(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("Kivo"), &window);
    label.setGeometry(14, 4, 460, 24);
    window.show();
    return app.exec();
}
