// vorn: the simulator, with the assembled departments.
#include "appgui/vorn_gui.h"
#include "plat/config.h"
#include "vorn/assembly.h"

int main(int argc, char** argv)
{
    plat::InitGui(argc, argv);
    register_vorn_resources();
    CVornApp app;
    app.assembly = assemble_departments;
    return app.WinMain(argc, argv);
}
