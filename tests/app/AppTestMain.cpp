#include "AppTestSupport.h"

#include "../common/WindowTestMain.h"

int FakeConnect::instances = 0;

int main(int argc, char** argv)
{
    return RunWindowTests(argc, argv, [] {
        // A stand-in connection window that counts what the main window does to it.
        t2::RegisterWindow("frmT2Connect", [](t2::ProgramState&) { return new FakeConnect; });
    });
}
