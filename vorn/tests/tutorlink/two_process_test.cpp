// The assembled simulator and the real tutorial player as two programs over
// the layer's link: the decision browser's choice closes the dialog open in
// the simulator and opens the decision's own, and the bundled tutorials play
// through against the departments' windows. This test process is the
// simulator (the link's host) in a copy of the data folder.
#include "../../../app/gui/tests/tutorlink/two_process.h"
#include "appgui/tutor.h"
#include "appgui/vorn_gui.h"
#include "plat/commctl.h"
#include "plat/config.h"
#include "plat/link.h"
#include "plat/loop.h"
#include "plat/testing.h"
#include "plat/trace.h"
#include "plat/window.h"
#include "production/departments.h"
#include "production/production_dialogs.h"
#include "purchasing/order_dialog_ids.h"
#include "vorn/assembly.h"
#include <gtest/gtest.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace plat;
using namespace two_process;
namespace fs = std::filesystem;

namespace {

// The browser's tree in the player's frame.
constexpr int kPlayerTree = 13;

class AssembledTwoProcesses : public Simulator {
protected:
    static void SetUpTestSuite()
    {
        linkDir = join_link_as_host("vorn-browser-link");
        ASSERT_FALSE(linkDir.empty());
        register_vorn_resources();
    }
    static void TearDownTestSuite()
    {
        leave_link(linkDir);
    }

    void SetUp() override
    {
        char dir[] = "/tmp/vorn-browser-data-XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        dataCopy = dir;
        fs::copy(fs::path(VORN_BINARY_DIR) / "data", dataCopy, fs::copy_options::recursive);
        ASSERT_NO_FATAL_FAILURE(start_in(dataCopy, assemble_departments));
    }
    void TearDown() override
    {
        Simulator::TearDown();
        if (!dataCopy.empty())
            fs::remove_all(dataCopy);
    }

    static inline std::string linkDir;
    std::string dataCopy;
};

// The player's tree as its frame builds it: Marketing, Production,
// Purchasing, each with Actions then Policies.
LRESULT tree_item(HWND tree, UINT how, LRESULT from)
{
    return SendMessage(tree, TVM_GETNEXTITEM, how, from);
}

HWND g_tree = 0;
LRESULT g_leaf = 0;
void choose_leaf(HWND, UINT, uintptr_t id, DWORD)
{
    KillTimer(0, id);
    SendMessage(g_tree, TVM_SELECTITEM, TVGN_CARET, g_leaf);
}

} // namespace

// With a dialog open in the simulator, a policy chosen in the browser:
// the open dialog is gone before the department switches, and the policy's
// dialog is then the only one open, on the department the tree named.
TEST_F(AssembledTwoProcesses, BrowserChoiceOpensThePolicyDialogAlone)
{
    open_sample();
    ASSERT_TRUE(fs::exists(folder + "/vorndec.mnu")) << "the session start wrote the browser's menu";
    OnDecisionsCenter(*view);
    const HWND browser = GetTutorWindow();
    ASSERT_NE(browser, 0u);
    EXPECT_NE(HIWORD(browser), 0) << "the player's window";
    g_tree = GetDlgItem(browser, kPlayerTree);
    ASSERT_NE(g_tree, 0u);
    const LRESULT marketing = tree_item(g_tree, TVGN_ROOT, 0);
    const LRESULT production = tree_item(g_tree, TVGN_NEXT, marketing);
    const LRESULT actions = tree_item(g_tree, TVGN_CHILD, production);
    const LRESULT policies = tree_item(g_tree, TVGN_NEXT, actions);
    g_leaf = tree_item(g_tree, TVGN_CHILD, policies); // "Raw material release", 501
    ASSERT_NE(g_leaf, 0);

    HWND seed = 0;
    HWND decision = 0;
    bool seedAliveAtDecision = true;
    std::vector<HWND> stackAtDecision;
    host.OnDialog(IDD_CHANGE_SEED, [&](HWND d) {
        seed = d;
        SetTimer(0, 0, 20, choose_leaf);
    });
    host.OnDialog(IDD_RAW_MATERIAL_RELEASE, [&](HWND d) {
        decision = d;
        seedAliveAtDecision = IsWindow(seed) != FALSE;
        stackAtDecision = view->dialogs().all();
        PostMessage(d, WM_CLOSE, 0, 0);
    });
    view->ExecuteCommand(ID_CHANGE_SEED);
    ASSERT_NE(seed, 0u);
    ASSERT_TRUE(pump_until([&] { return decision != 0 && view->dialogs().all().empty(); }))
        << "the browser's commands opened the policy's dialog";
    EXPECT_FALSE(seedAliveAtDecision);
    EXPECT_EQ(stackAtDecision, std::vector<HWND>{decision});
    ASSERT_NE(view->session()->current_department, nullptr);
    EXPECT_EQ(GetTutorPendingCode(), 0) << "the close was carried out and the player resumed";

    // The same choice again, nothing open: the dialog opens again.
    decision = 0;
    SendMessage(g_tree, TVM_SELECTITEM, TVGN_CARET, 0);
    SendMessage(g_tree, TVM_SELECTITEM, TVGN_CARET, g_leaf);
    EXPECT_TRUE(pump_until([&] { return decision != 0 && view->dialogs().all().empty(); }));
    EXPECT_TRUE(view->dialogs().all().empty());
}

// Any dialog a tutorial opens in the simulator is closed after a while, as a
// student would; which ones opened is kept.
std::vector<HWND> g_opened;
CVornWindow* g_view = nullptr;
void close_open_dialog(HWND, UINT, uintptr_t, DWORD)
{
    if (g_view == nullptr)
        return;
    const HWND top = g_view->dialogs().top();
    if (top != 0 && IsWindowVisible(top)) {
        if (g_opened.empty() || g_opened.back() != top)
            g_opened.push_back(top);
        PostMessage(top, WM_CLOSE, 0, 0);
    }
}

// The bundled guided run, plain and coded, from the player's start to its
// last text: the sample opened by the player's OpenFile, Purchasing shown,
// Continue taken, Exit closing the session once.
TEST_F(AssembledTwoProcesses, BundledGuidedRunPlaysThrough)
{
    for (const char* file : {"guide1.cmd", "coded/guide1.cmd"}) {
        SCOPED_TRACE(file);
        ASSERT_TRUE(fs::exists(folder + "/" + file));
        g_opened.clear();
        g_view = view;
        const UINT_PTR closer = SetTimer(0, 0, 400, close_open_dialog);
        const HWND player = StartTutorial(frame->m_hWnd, (std::string("VORNS Tutorial - ") + file).c_str(), file);
        ASSERT_NE(player, 0u);
        ASSERT_TRUE(pump_until([&] { return view->session() != nullptr && view->session()->current_department != nullptr; }))
            << "the player's OpenFile opened the sample";
        ASSERT_TRUE(pump_until([&] { return player_text(player).rfind("Type 200", 0) == 0; }))
            << player_text(player);
        EXPECT_EQ(view->session()->current_department, view->session()->purchasing) << "ExecMenu 32779 showed Purchasing";
        SendMessage(player, WM_COMMAND, MAKEWPARAM(kPlayerContinue, BN_CLICKED), 0);
        ASSERT_TRUE(pump_until([&] { return player_text(player).rfind("Run and watch XA's box.", 0) == 0; }))
            << player_text(player);
        EXPECT_TRUE(view->dialogs().all().empty() || pump_until([&] { return view->dialogs().all().empty(); }));
        SendMessage(player, WM_COMMAND, MAKEWPARAM(kPlayerExit, BN_CLICKED), 0);
        ASSERT_TRUE(pump_until([&] { return GetTutorWindow() == 0 && !IsWindow(player); }));
        view->SyncSession();
        EXPECT_EQ(view->session(), nullptr) << "Exit closed the session";
        KillTimer(0, closer);
        g_view = nullptr;
    }
}

namespace {

// A material's units on order with the vendors; -1 when the sample has no
// such material.
int on_order_of(CVornWindow& view, const char* code)
{
    auto* purchasing = dynamic_cast<PurchasingDept*>(view.session()->purchasing);
    if (purchasing == nullptr)
        return -1;
    uint16_t family = 0, material = 0;
    purchasing->find_material_by_code(code, family, material);
    if (family == 0xFFFF || material == 0xFFFF)
        return -1;
    return purchasing->get_on_order(family, material);
}

bool dialog_shown(const ScriptedHost& host, int templateId)
{
    for (const auto& [dialog, id] : host.dialogs())
        if (id == templateId)
            return true;
    return false;
}

} // namespace

// The Help menu's tutorial, plain and coded, from its welcome to its last
// text: Continue taken at its two stops, the sample opened and Purchasing
// shown, Actions' first item chosen through the simulator's menu walk, XB
// and 25 set in the Order dialog from the player, its silent button clicked
// and the dialog closed: 25 more units of XB on order, no box on the way.
TEST_F(AssembledTwoProcesses, RunTutorialOrdersXBThroughTheOrderDialog)
{
    for (const char* file : {"steplay.cmd", "coded/steplay.cmd"}) {
        SCOPED_TRACE(file);
        host.clear_records();
        const HWND player = StartTutorial(frame->m_hWnd, (std::string("VORNS Tutorial - ") + file).c_str(), file);
        ASSERT_NE(player, 0u);
        ASSERT_TRUE(pump_until([&] { return player_text(player).rfind("Welcome.", 0) == 0; })) << player_text(player);
        SendMessage(player, WM_COMMAND, MAKEWPARAM(kPlayerContinue, BN_CLICKED), 0);
        ASSERT_TRUE(pump_until([&] { return player_text(player).rfind("This is Purchasing", 0) == 0; }))
            << player_text(player);
        ASSERT_NE(view->session(), nullptr) << "the player's OpenFile opened the sample";
        EXPECT_EQ(view->session()->current_department, view->session()->purchasing);
        const int before = on_order_of(*view, "XB");
        ASSERT_GE(before, 0);
        SendMessage(player, WM_COMMAND, MAKEWPARAM(kPlayerContinue, BN_CLICKED), 0);
        ASSERT_TRUE(pump_until([&] { return player_text(player).rfind("25 units of XB are on order.", 0) == 0; }, 20000))
            << player_text(player);
        EXPECT_TRUE(dialog_shown(host, IDD_PRC_ORDER)) << "the menu walk opened the Order dialog";
        EXPECT_TRUE(pump_until([&] { return view->dialogs().all().empty(); })) << "CloseCurrentWindow closed it";
        EXPECT_EQ(on_order_of(*view, "XB"), before + 25);
        EXPECT_TRUE(host.boxes().empty()) << host.boxes().front().text;
        SendMessage(player, WM_COMMAND, MAKEWPARAM(kPlayerExit, BN_CLICKED), 0);
        ASSERT_TRUE(pump_until([&] { return GetTutorWindow() == 0 && !IsWindow(player); }));
        view->SyncSession();
        EXPECT_EQ(view->session(), nullptr) << "Exit closed the session";
    }
}
