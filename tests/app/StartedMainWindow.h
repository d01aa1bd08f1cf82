// The main window as the user finds it: started, shown, a fresh configuration
// with 8 I/O points, nothing to undo, no unsaved changes; the prompts
// answered by the test.
#pragma once

#include "Prompts.h"
#include "frmT2MasterMDI.h"

#include "../editors/GuiHelpers.h"

#include <gtest/gtest.h>

#include <memory>

class StartedMainWindow : public testing::Test {
public:
    void SetUp() override
    {
        w = std::make_unique<t2::frmT2MasterMDI>(state);
        w->Startup();
        w->show();
        w->tmrFix->stop();
        t2::test::SetIoPoints(state, 8);
        state.History.Reset(state);
        t2::SetDataChanged(state, false);
    }
    void TearDown() override
    {
        w->ExitRequested = true;
        w.reset();
    }

    t2::ProgramState state;
    t2::ScriptedPrompts prompts;
    std::unique_ptr<t2::frmT2MasterMDI> w;
};
