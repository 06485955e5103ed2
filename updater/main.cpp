// The update program: fetches the newest player from the update server and puts
// it in place of kivoplay in its own folder. It takes no arguments and reads only
// kivoplay.ini beside itself.
#include "updater/updatecontroller.h"
#include "updater/updateplan.h"
#include "updater/updatewindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    kivo::UpdateController controller(kivo::UpdatePlan::forProgramDir(QCoreApplication::applicationDirPath()));
    kivo::UpdateWindow window(&controller);
    window.show();
    controller.windowShown();
    return app.exec();
}
