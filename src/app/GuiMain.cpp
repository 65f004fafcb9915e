#include "app/GuiMain.h"

#include <QApplication>
#include <QMainWindow>

namespace tempolatch {

int runGui(int argc, char* argv[], const QStringList& /*args*/) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Tempolatch"));
    window.show();
    return app.exec();
}

}  // namespace tempolatch
