// The connection window tests run on the offscreen platform with HOME in a
// temporary folder, so that the program folder is their own.
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
    return RUN_ALL_TESTS();
}
