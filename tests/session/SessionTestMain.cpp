#include "../common/WindowTestMain.h"

int main(int argc, char** argv) { return RunWindowTests(argc, argv); }
