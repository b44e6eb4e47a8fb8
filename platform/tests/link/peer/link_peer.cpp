// The second program of the link tests: a guest with a frame "Link Peer"
// (menu bar with one popup, an edit with id 10) and a frame "Link Peer
// Plain" without a menu. Its answers to 0x61E mirror the tutorial player's
// hand-shake.
#include "plat/config.h"
#include "plat/controls.h"
#include "plat/link.h"
#include "plat/loop.h"
#include "plat/menu.h"
#include "plat/msg.h"
#include "plat/window.h"
#include <cstdlib>

using namespace plat;

namespace {

constexpr UINT kControl = 0x61E;
constexpr UINT kRequest = 0x61F;
constexpr int kHostEdit = 20;

LRESULT peer_proc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == kControl && w == 1) {
        // The starter's main window from its 16 bits; a send back to it
        // while its own send to us is still waiting.
        const auto host = static_cast<HWND>(static_cast<uint16_t>(l));
        SetWindowText(GetDlgItem(host, kHostEdit), "set by the peer");
        PostMessage(host, kRequest, 1, 0);
        return 7;
    }
    if (m == kControl && w == 3) {
        // Posts, then the program ends at once: they still arrive.
        const auto host = static_cast<HWND>(static_cast<uint16_t>(l));
        for (WPARAM i = 0; i < 3; ++i)
            PostMessage(host, kRequest, 10 + i, 0);
        std::exit(0);
    }
    if (m == WM_USER + 5)
        return static_cast<LRESULT>(w * 2);
    return DefWindowProc(h, m, w, l);
}

} // namespace

int main(int argc, char** argv)
{
    InitGui(argc, argv);
    if (!JoinLink(LinkRole::Guest))
        return 3;
    WNDCLASS wc;
    wc.lpfnWndProc = peer_proc;
    wc.lpszClassName = "LinkPeerWnd";
    RegisterClass(&wc);
    const HWND frame = CreateWindow("LinkPeerWnd", "Link Peer", WS_OVERLAPPEDWINDOW, 10, 10, 300, 200, 0, 0, 0,
                                    nullptr);
    CreateWindow("EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 200, 24, frame, static_cast<HMENU>(10), 0,
                 nullptr);
    const HMENU bar = CreateMenu();
    const HMENU actions = CreatePopupMenu();
    AppendMenu(actions, MF_STRING, 101, "&First");
    AppendMenu(bar, MF_POPUP, static_cast<UINT_PTR>(actions), "Actions");
    SetMenu(frame, bar);
    CreateWindow("LinkPeerWnd", "Link Peer Plain", WS_OVERLAPPEDWINDOW, 320, 10, 200, 100, 0, 0, 0, nullptr);
    SetMainWindow(frame);
    ShowWindow(frame, SW_SHOW);
    return RunMessageLoop();
}
