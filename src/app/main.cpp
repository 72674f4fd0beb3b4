// The desktop program: starts into the main menu.
#include "app/form1.h"
#include "app/messageboxseam.h"
#include "app/pageregistry.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false); // only EndProgram() ends the program
    MessageBoxSeam messageBoxes;
    setMessageSeam(&messageBoxes);
    form1().show();
    const int code = app.exec();
    destroyPages();
    setMessageSeam(nullptr);
    return code;
}
