// vorn: the simulator.
#include "appgui/vorn_gui.h"
#include "plat/config.h"

int main(int argc, char** argv)
{
    plat::InitGui(argc, argv);
    register_vorn_resources();
    CVornApp app;
    return app.WinMain(argc, argv);
}
