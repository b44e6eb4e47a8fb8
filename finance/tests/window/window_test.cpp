// The Finance department in the windowed program: the statement painted on
// its panel, the boxes of the title band and what they switch, the reports
// of the Information menu and one analysis opened from it.
#include "appgui/vorn_gui.h"
#include "app/commands.h"
#include "app/panes.h"
#include "finance/finance_dept.h"
#include "marketing/action_dialogs.h"
#include "plat/config.h"
#include "plat/controls.h"
#include "plat/help.h"
#include "plat/fw/app.h"
#include "plat/testing.h"
#include "plat/trace.h"
#include "plat/window.h"
#include "support/sample_program.h"
#include "vorn/assembly.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace plat;
namespace fs = std::filesystem;

namespace {

std::string png(const std::string& name)
{
    const fs::path folder = fs::path(VORN_BINARY_DIR) / "finance-png";
    fs::create_directories(folder);
    return (folder / name).string();
}

bool visible(HWND h) { return h != 0 && IsWindowVisible(h); }

void click(HWND box)
{
    // An auto check box flips itself on a click, then tells its parent.
    SendMessage(box, BM_CLICK, 0, 0);
}

// The program with the sample open, stopped.
struct Program : vorn_test::SampleProgram {
    Program() : SampleProgram("finance-work", "window-") {}
};

// The page the help viewer opens for the window, the bundled help pages
// beside the session as the data folder has them.
std::string help_page(FinanceDepartment& finance)
{
    const fs::path here = fs::path(VORN_BINARY_DIR) / "finance-work" /
                          (std::string("window-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::copy(fs::path(VORN_BINARY_DIR) / "data" / "vorn.help", here / "vorn.help",
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    const fs::path before = fs::current_path();
    fs::current_path(here);
    finance.show_help();
    const std::string page = HelpViewerPage();
    WinHelp(0, "vorn.hlp", HELP_QUIT, 0);
    fs::current_path(before);
    return fs::path(page).filename().string();
}

} // namespace

TEST(FinanceWindow, StatementBoxesAndTheirSwitches)
{
    Program p;
    ASSERT_NE(p.session, nullptr);
    auto* finance = dynamic_cast<FinanceDepartment*>(p.session->finance);
    ASSERT_NE(finance, nullptr);
    p.view->ExecuteCommand(ID_FINANCE);
    EXPECT_EQ(p.session->current_department, p.session->finance);
    const HWND panel = finance->window_handle();
    ASSERT_NE(panel, 0u);

    const HWND added = finance->control(101), summary = finance->control(102), select = finance->control(103),
               profit = finance->control(104);
    for (HWND h : {added, summary, select, profit})
        EXPECT_EQ(GetParent(h), panel);
    ASSERT_NE(added, 0u);
    ASSERT_NE(summary, 0u);
    ASSERT_NE(select, 0u);
    ASSERT_NE(profit, 0u);
    EXPECT_TRUE(visible(added));
    EXPECT_TRUE(visible(summary));
    EXPECT_FALSE(visible(select));
    EXPECT_FALSE(visible(profit));
    EXPECT_EQ(SendMessage(added, BM_GETCHECK, 0, 0), BST_CHECKED);

    // "Summary graphs" 110 and "Show profit" 200 from the right edge, 5 from the top.
    RECT client{}, at{};
    GetClientRect(panel, &client);
    GetWindowRect(summary, &at);
    POINT corner{at.left, at.top};
    ScreenToClient(panel, &corner);
    EXPECT_EQ(corner.x, client.right - 110);
    EXPECT_EQ(corner.y, 5);
    GetWindowRect(profit, &at);
    corner = {at.left, at.top};
    ScreenToClient(panel, &corner);
    EXPECT_EQ(corner.x, client.right - 200);
    EXPECT_TRUE(SaveWindowPng(p.frame->m_hWnd, png("finance_statement.png").c_str()));

    // The statement of the last year's report, then the current one again.
    finance->on_menu_command(305);
    EXPECT_EQ(finance->engine().report_letter, 'L');
    finance->on_menu_command(304);
    EXPECT_EQ(finance->engine().report_letter, 'C');
    finance->on_menu_command(306);
    EXPECT_EQ(finance->engine().report_letter, 'A');

    click(added);
    EXPECT_EQ(finance->engine().with_added_value, 0);
    click(added);
    EXPECT_EQ(finance->engine().with_added_value, 1);

    // Summary graphs: the first box hides, "Show profit" and "Select" show.
    click(summary);
    EXPECT_TRUE(finance->summary_graphs());
    EXPECT_FALSE(visible(added));
    EXPECT_TRUE(visible(select));
    EXPECT_TRUE(visible(profit));
    EXPECT_EQ(help_page(*finance), "17.html");
    click(profit);
    EXPECT_TRUE(finance->show_profit());
    EXPECT_TRUE(SaveWindowPng(p.frame->m_hWnd, png("finance_summary_mode.png").c_str()));

    // "Select" opens the graph choice; Cancel keeps what was chosen.
    bool asked = false;
    p.host.OnDialog(IDD_SELECT_GRAPHS, [&](HWND d) {
        asked = true;
        CheckDlgButton(d, FIN_GRAPH_BOX_FIRST + 4, BST_CHECKED);
        CheckDlgButton(d, FIN_GRAPH_BOX_FIRST + 2, BST_UNCHECKED);
        SaveWindowPng(d, png("select_graphs.png").c_str());
        SendMessage(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    SendMessage(select, BM_CLICK, 0, 0);
    EXPECT_TRUE(asked);
    EXPECT_TRUE(finance->graph_choice().box[4]);
    EXPECT_FALSE(finance->graph_choice().box[2]);
    // The graphs follow: Cash, Sales, then WIP in the third slot.
    ASSERT_NE(finance->summary_graph(), nullptr);
    EXPECT_EQ(finance->summary_graph()->GetSeries(4)->slot, 2);
    EXPECT_EQ(finance->summary_graph()->GetSeries(2)->slot, -1);
    EXPECT_EQ(finance->summary_graph()->slot_title(2), "WIP");

    // The view's Summary Graphs command flips the box back.
    finance->flip_summary_graphs();
    EXPECT_FALSE(finance->summary_graphs());
    EXPECT_EQ(SendMessage(summary, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_TRUE(visible(added));
    EXPECT_EQ(help_page(*finance), "14.html");
}

TEST(FinanceWindow, InformationMenuOpensTheAnalyses)
{
    Program p;
    ASSERT_NE(p.session, nullptr);
    auto* finance = dynamic_cast<FinanceDepartment*>(p.session->finance);
    ASSERT_NE(finance, nullptr);
    p.view->ExecuteCommand(ID_FINANCE);

    struct Opened {
        int command, dialog;
    };
    const Opened cases[] = {{301, IDD_PRODUCT_ANALYSIS}, {308, IDD_GLOBAL_MEASURES}, {309, IDD_MARGINAL_PROFIT},
                            {310, IDD_PRODUCT_THROUGHPUT}, {311, IDD_CONTRACT_THROUGHPUT}};
    for (const Opened& c : cases) {
        SCOPED_TRACE(c.command);
        bool opened = false;
        p.host.OnDialog(c.dialog, [&](HWND d) {
            opened = true;
            SaveWindowPng(d, png("menu_" + std::to_string(c.command) + ".png").c_str());
            SendMessage(d, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        });
        finance->on_menu_command(c.command);
        EXPECT_TRUE(opened);
    }
    // The blank Actions and Policies entries and ids past the table do nothing.
    const size_t boxes = p.host.boxes().size();
    for (int id : {313, 401, 501})
        finance->on_menu_command(id);
    EXPECT_EQ(p.host.boxes().size(), boxes);
}

// A month of the sample with the summary graphs and the profit graph shown:
// each working day's points are the books' figures at that day's start, and
// the new month's profit point is the current year's net profit then.
TEST(FinanceWindow, GraphsPlotTheBooksDayByDayAndTheMonthsProfit)
{
    Program p;
    ASSERT_NE(p.session, nullptr);
    auto* finance = dynamic_cast<FinanceDepartment*>(p.session->finance);
    ASSERT_NE(finance, nullptr);
    p.view->ExecuteCommand(ID_FINANCE);
    click(finance->control(102));
    click(finance->control(104));
    CSummaryGraphWnd* graph = finance->summary_graph();
    CProfitGraphDlg* profit = finance->profit_graph();
    ASSERT_NE(graph, nullptr);
    ASSERT_NE(profit, nullptr);
    EXPECT_TRUE(visible(graph->m_hWnd));
    EXPECT_TRUE(visible(profit->m_hWnd));

    struct Day {
        int32_t cash, backlog;
    };
    std::vector<Day> days;
    std::vector<std::pair<int32_t, int>> months;
    CFinanceWnd& books = finance->engine();
    finance->hooks.daily_points = [&](const double*) {
        days.push_back({books.cash, books.marketing() != nullptr ? books.marketing()->get_backlog_value() : 0});
    };
    finance->hooks.month_points = [&](int32_t, int) {
        months.push_back({books.get_net_profit('C', 1),
                          static_cast<int>(CReputationPane::ReputationPercent(p.session->reputation.displayed))});
    };
    // The market's notices on the way.
    p.host.Answer(IDOK, "Contract");
    const int points_before = graph->day_count();
    const int months_before = profit->month_count();
    const int16_t month = p.session->clock.current.month;
    for (int guard = 0; guard < 60000 && (p.session->clock.current.month == month || days.size() < 3); ++guard)
        p.session->SimulationTick(RESTART_NONE);
    // Past the month's first 08:00 as well.
    for (int guard = 0; guard < 600 && months.empty(); ++guard)
        p.session->SimulationTick(RESTART_NONE);
    ASSERT_GE(days.size(), 3u);
    ASSERT_EQ(months.size(), 1u);

    EXPECT_EQ(graph->day_count(), points_before + static_cast<int>(days.size()));
    const auto* cash = graph->GetSeries(0);
    const auto* backlog = graph->GetSeries(2);
    ASSERT_EQ(cash->values.size(), static_cast<size_t>(graph->day_count()));
    for (size_t i = 0; i < days.size(); ++i) {
        SCOPED_TRACE(i);
        const size_t at = static_cast<size_t>(points_before) + i;
        EXPECT_EQ(cash->values[at], days[i].cash);
        EXPECT_EQ(backlog->values[at], days[i].backlog);
    }
    // Cash in the bank never leaves its slot.
    for (int32_t v : cash->values) {
        EXPECT_LE(v, graph->GetSlotYMax(0));
        EXPECT_GE(v, graph->GetSlotYMin(0));
    }
    ASSERT_EQ(profit->month_count(), months_before + 1);
    EXPECT_EQ(profit->points(0).back(), months[0].first);
    EXPECT_EQ(profit->points(1).back(), months[0].second);
    EXPECT_LE(profit->points(0).back(), profit->slot_max(0));
    EXPECT_GE(profit->points(0).back(), profit->slot_min(0));
    EXPECT_TRUE(SaveWindowPng(p.frame->m_hWnd, png("finance_graphs_month.png").c_str()));
    SaveWindowPng(profit->m_hWnd, png("finance_profit_month.png").c_str());

    // Closing the profit graph clears its box; the statement brings both away.
    SendMessage(profit->m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_FALSE(finance->show_profit());
    EXPECT_EQ(SendMessage(finance->control(104), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    click(finance->control(104));
    EXPECT_TRUE(visible(profit->m_hWnd));
    click(finance->control(102));
    EXPECT_FALSE(visible(graph->m_hWnd));
    EXPECT_FALSE(visible(profit->m_hWnd));
    finance->hooks = {};
}

// Set Machine Work Percent over the real books, on the sample's first day
// (early January, when it is allowed): the refused entries leave Finance's
// percent alone, the accepted one is what Marketing reads after.
TEST(FinanceWindow, MachineWorkPercentReachesTheBooksOnlyWhenAboveZero)
{
    Program p;
    ASSERT_NE(p.session, nullptr);
    auto* finance = dynamic_cast<FinanceDepartment*>(p.session->finance);
    ASSERT_NE(finance, nullptr);
    ASSERT_FLOAT_EQ(finance->engine().machine_work_percent(), 0.85f);
    const size_t boxes = p.host.boxes().size();
    p.host.Answer(IDOK, "Set Machine Work Percent", "The machine work percent must be a number above 0");
    std::vector<float> seen;
    bool opened = false;
    p.host.OnDialog(IDD_MACHINE_WORK_PERCENT, [&](HWND d) {
        opened = true;
        for (const char* typed : {"0", "-1", "x"}) {
            SetDlgItemText(d, 1294, typed);
            SendMessage(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            seen.push_back(finance->engine().machine_work_percent());
        }
        SetDlgItemText(d, 1294, "0.5");
        SendMessage(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    p.view->ExecuteCommand(ID_SET_MACHINE_WORK_PERCENT);
    ASSERT_TRUE(opened);
    EXPECT_EQ(seen, (std::vector<float>{0.85f, 0.85f, 0.85f}));
    EXPECT_EQ(p.host.boxes().size() - boxes, 3u);
    EXPECT_FLOAT_EQ(finance->engine().machine_work_percent(), 0.5f);
    EXPECT_FLOAT_EQ(finance->machine_work_percent(), 0.5f);
}

// Finance's contract list entry opens Marketing's Contract List over the
// sample's contracts: the program's own assembly wires the two.
TEST(FinanceWindow, ContractsListOpensMarketingsContractList)
{
    Program p;
    ASSERT_NE(p.session, nullptr);
    p.view->ExecuteCommand(ID_FINANCE);
    ASSERT_EQ(p.session->current_department, p.session->finance);
    int opened = 0;
    std::string caption;
    p.host.OnDialog(IDD_MRK_CONTRACT_LIST, [&](HWND d) {
        ++opened;
        char text[64] = {};
        GetWindowText(d, text, sizeof text);
        caption = text;
        SendMessage(d, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    p.session->finance->on_menu_command(303);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(caption, "Contract List");
    EXPECT_EQ(p.session->current_department, p.session->finance) << "Finance stays shown";
}
