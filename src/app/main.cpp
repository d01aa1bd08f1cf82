// tamberline [SETTINGS.TMB]: the host program. A settings file named on the
// command line is opened at start, as File Open would open it.
#include "WindowCatalog.h"
#include "WindowRegistry.h"
#include "frmT2MasterMDI.h"

#include "PanelConfig.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("VEL Tamberline II");
    // The installed desktop entry and icon (tamberline.desktop, tamberline.svg).
    QApplication::setDesktopFileName("tamberline");
    QApplication::setWindowIcon(QIcon::fromTheme("tamberline"));
    t2::RegisterAllWindows();
    t2::ProgramState& state = t2::Program();
    t2::frmT2MasterMDI window(state);
    window.Startup();
    window.show();
    const QStringList args = QApplication::arguments();
    if (args.size() > 1) window.OpenSettingsFile(args[1]);
    return app.exec();
}
