// tamberline [SETTINGS.TMB]: the host program. A settings file named on the
// command line is opened at start, as File Open would open it.
#include "WindowCatalog.h"
#include "WindowRegistry.h"
#include "frmT2MasterMDI.h"
#include "Prompts.h"

#include "PanelConfig.h"
#include "SettingsFile.h"

#include <QApplication>
#include <QFile>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("VEL Tamberline II");
    t2::RegisterAllWindows();
    t2::ProgramState& state = t2::Program();
    t2::frmT2MasterMDI window(state);
    window.Startup();
    window.show();
    const QStringList args = QApplication::arguments();
    if (args.size() > 1) {
        const std::string path = QFile::encodeName(args[1]).toStdString();
        std::string error;
        if (t2::ReadSettingsFile(path, state.Config, state.Devices, &error)) {
            state.SettingsFileName = path;
            state.History.Reset(state);
            window.UpdateStatusBar();
            t2::SetDataChanged(state, false);
        } else {
            t2::Inform(t2::frmT2MasterMDI::Title,
                       "The settings file could not be opened.\n\n" + QString::fromLocal8Bit(error),
                       t2::PromptIcon::Exclamation);
        }
    }
    return app.exec();
}
