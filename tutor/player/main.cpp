// steplay32: the tutorial player and decision browser.
#include "plat/config.h"
#include "plat/link.h"
#include "steplay/player.h"

int main(int argc, char** argv)
{
    plat::InitGui(argc, argv);
    plat::JoinLink(plat::LinkRole::Guest);
    register_steplay_resources();
    CSteplayApp app;
    return app.WinMain(argc, argv);
}
