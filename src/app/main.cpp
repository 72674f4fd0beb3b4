// The desktop program: starts into the main menu.
#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    return 0;
}
