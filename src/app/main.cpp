// The desktop program: starts into the main menu.
#include "app/form1.h"
#include "app/pageregistry.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false); // only EndProgram() ends the program
    form1().show();
    const int code = app.exec();
    destroyPages();
    return code;
}
