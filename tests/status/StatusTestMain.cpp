// The status window tests run on the offscreen platform with HOME in a
// temporary folder. The connection window is a stand-in, so that the tests own
// the session they open to the simulated panel.
#include "StatusTestSupport.h"

#include "WindowRegistry.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    t2::RegisterAllWindows();
    t2::RegisterWindow("frmT2Connect", [](t2::ProgramState&) { return new StandInConnect; });
    return RUN_ALL_TESTS();
}
