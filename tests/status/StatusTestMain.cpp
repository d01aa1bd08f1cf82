// The connection window is a stand-in, so that the tests own the session they
// open to the simulated panel.
#include "StatusTestSupport.h"

#include "../common/WindowTestMain.h"

int main(int argc, char** argv)
{
    return RunWindowTests(argc, argv, [] {
        t2::RegisterWindow("frmT2Connect", [](t2::ProgramState&) { return new StandInConnect; });
    });
}
