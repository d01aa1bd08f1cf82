#include "WindowRegistry.h"
#include "frmT2MasterMDI.h"

#include "PanelConfig.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("VEL Tamberline II");
    t2::RegisterAllWindows();
    t2::frmT2MasterMDI window(t2::Program());
    window.Startup();
    window.show();
    return app.exec();
}
