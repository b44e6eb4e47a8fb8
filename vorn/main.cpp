// vorn: the simulator, with the assembled departments.
#include "appgui/vorn_gui.h"
#include "plat/config.h"
#include "plat/link.h"
#include "vorn/assembly.h"

int main(int argc, char** argv)
{
    plat::InitGui(argc, argv);
    // The tutorial player finds our windows through the link and rebuilds
    // our main window's handle from 16 bits: we are the link's host. Its
    // start waits until it is ready, so its window can be found at once.
    plat::JoinLink(plat::LinkRole::Host);
    plat::DeclareLinkedProgram("STEPLAY32.EXE");
    register_vorn_resources();
    CVornApp app;
    app.assembly = assemble_departments;
    return app.WinMain(argc, argv);
}
