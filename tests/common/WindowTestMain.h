// The window tests' common start: the offscreen platform, HOME in a temporary
// folder (so the program folder and the maintenance file are the test's own),
// a QApplication and every window registered. A suite may then replace some
// windows with stand-ins before the tests run.
#pragma once

#include "WindowCatalog.h"
#include "WindowRegistry.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

inline int RunWindowTests(int argc, char** argv, const std::function<void()>& registerStandIns = {})
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/.config").toLocal8Bit());  // the recent files, too
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    t2::RegisterAllWindows();
    if (registerStandIns) registerStandIns();
    return RUN_ALL_TESTS();
}
