// The window tests run on the offscreen platform with HOME in a temporary
// folder, so that the program folder and the maintenance file are their own.
#include "AppTestSupport.h"

#include "WindowRegistry.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int FakeConnect::instances = 0;

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    t2::RegisterAllWindows();
    // A stand-in connection window that counts what the main window does to it.
    t2::RegisterWindow("frmT2Connect", [](t2::ProgramState&) { return new FakeConnect; });
    return RUN_ALL_TESTS();
}
