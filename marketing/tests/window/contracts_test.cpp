// The Marketing decision windows driven through the layer: the new contracts
// offered, a contract that ends or was cancelled, a new product, and the
// day's two popups.
#include "appgui/vorn_gui.h"
#include "foundation/simdate.h"
#include "marketing/contract_dialogs.h"
#include "marketing/marketing_dept.h"
#include "marketing/marketing_wnd.h"
#include "plat/config.h"
#include "plat/controls.h"
#include "plat/msg.h"
#include "plat/testing.h"
#include "plat/trace.h"
#include "plat/window.h"
#include "vorn/assembly.h"
#include "sample_open.h"
#include <gtest/gtest.h>
#include <set>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace plat;
namespace fs = std::filesystem;

namespace {

std::string text_of(HWND w)
{
    char text[256] = {};
    GetWindowText(w, text, sizeof text);
    return text;
}

// The sample open in the windowed program, its templates registered.
struct Sample : MarketingSample {
    Sample() : MarketingSample("contracts-")
    {
        register_contract_dialog_templates();
        host.clear_records();
    }
};

// Customer C1's contracts: 0 weekly, 1 one-time, 2 monthly blanket.
const ContractRef kWeekly{0, 0}, kOneTime{0, 1}, kBlanket{0, 2};

} // namespace

TEST(MarketingContracts, RowsOfTheOfferedContracts)
{
    Sample s;
    CMarketingWnd& m = s.m();
    ASSERT_GE(m.customers.size(), 1u);
    ASSERT_GE(m.customers[0].contracts.size(), 3u);
    CustomerContract& weekly = m.customers[0].contracts[0];
    ASSERT_EQ(weekly.type, CONTRACT_PERIODIC);
    // A second line: its row keeps only the line.
    weekly.items[1] = weekly.items[0];
    weekly.items[1].product = 1;
    weekly.item_count = 2;
    const auto rows = new_contract_rows(m, kWeekly, 0);
    ASSERT_EQ(rows.size(), 2u);
    const std::string first = rows[0];
    EXPECT_EQ(first.rfind("\t" + std::to_string(weekly.number) + "\tC1\t", 0), 0u) << first;
    EXPECT_NE(first.find(weekly.period == 0 ? "\tWeekly\t" : "\tMonthly\t"), std::string::npos) << first;
    EXPECT_NE(first.find("\tA1\t"), std::string::npos) << first;
    EXPECT_EQ(rows[1].find("C1"), std::string::npos);
    EXPECT_NE(rows[1].find("A2\t"), std::string::npos);

    const auto once = new_contract_rows(m, kOneTime, 0);
    ASSERT_FALSE(once.empty());
    EXPECT_NE(once[0].find("\t  -  \tOne Time\t  ------------   \t"), std::string::npos) << once[0];
    const auto blanket = new_contract_rows(m, kBlanket, 0);
    ASSERT_FALSE(blanket.empty());
    const ContractItem& b = m.customers[0].contracts[2].items[0];
    EXPECT_NE(blanket[0].find("Blanket(" + std::to_string(m.customers[0].contracts[2].blanket_days) + ")"),
              std::string::npos)
        << blanket[0];
    EXPECT_NE(blanket[0].find(std::to_string(b.blanket_min) + "," + std::to_string(b.blanket_max)),
              std::string::npos)
        << blanket[0];
}

// Every contract must be answered before OK; Yes All then No on one row
// accepts the others; Hold answers 5 at once.
TEST(MarketingContracts, SelectNewContractsWantsEveryAnswer)
{
    Sample s;
    const std::vector<ContractRef> list = {kWeekly, kOneTime, kBlanket};
    s.host.Answer(IDOK, "New Contracts", "You must accept/deny each contract");
    bool stayed = false;
    int rows = 0;
    {
        CNewContractsDlg dlg(s.m(), nullptr, list, 0);
        s.host.OnDialog(IDD_MRK_NEW_CONTRACTS, [&](HWND d) {
            EXPECT_NE(GetDlgItem(d, IDC_MRK_CONTRACT_LIST), 0u);
            rows = dlg.list().GetRowCount();
            click(d, IDOK);
            stayed = IsWindow(d) && IsWindowVisible(d);
            click(d, IDC_MRK_YES_ALL);
            // The second contract's row, selected by its row number, refused.
            dlg.list().SetCurSel(dlg.list().SelectableToRow(1), TRUE);
            click(d, IDC_MRK_NO);
            UpdateWindow(d);
            SaveWindowPng(d, png("new_contracts.png").c_str());
            click(d, IDOK);
        });
        EXPECT_EQ(dlg.DoModal(), 1);
        EXPECT_TRUE(stayed);
        EXPECT_EQ(rows, 3);
        EXPECT_EQ(dlg.accepted, (std::vector<bool>{true, false, true}));
        ASSERT_EQ(s.host.boxes().size(), 1u);
    }
    {
        CNewContractsDlg dlg(s.m(), nullptr, list, 0);
        s.host.OnDialog(IDD_MRK_NEW_CONTRACTS, [&](HWND d) { click(d, IDC_MRK_HOLD); });
        EXPECT_EQ(dlg.DoModal(), 5);
    }
    {
        CNewContractsDlg dlg(s.m(), nullptr, list, 0);
        s.host.OnDialog(IDD_MRK_NEW_CONTRACTS, [&](HWND d) {
            click(d, IDC_MRK_NO_ALL);
            click(d, IDOK);
        });
        EXPECT_EQ(dlg.DoModal(), 1);
        EXPECT_EQ(dlg.accepted, (std::vector<bool>{false, false, false}));
    }
}

// Contract End: a three-line contract gives three rows, the contract's
// fields in the first alone; Continue without an answer keeps the window.
TEST(MarketingContracts, ContractEndAsksUntilAnswered)
{
    Sample s;
    CustomerContract& k = s.m().customers[0].contracts[0];
    k.items[1] = k.items[0];
    k.items[2] = k.items[0];
    k.items[1].product = 1;
    k.items[2].quantity = 33;
    k.item_count = 3;
    struct Case {
        int button;
        int result;
    };
    for (const Case& c : {Case{IDC_MRK_RENEW_YES, 1}, Case{IDC_MRK_RENEW_NO, 2}, Case{0, 3}}) {
        s.host.clear_records();
        s.host.Answer(IDOK, "End of Contract", "You must select yes/no");
        CContractEndDlg dlg(s.m(), nullptr, kWeekly, 0);
        bool stayed = false;
        int rows = 0;
        std::string name0, name1, line2, day;
        s.host.OnDialog(IDD_MRK_CONTRACT_END, [&](HWND d) {
            rows = dlg.grid().GetRowCount();
            name0 = dlg.grid().GetCellText(0, 0);
            name1 = dlg.grid().GetCellText(1, 0);
            line2 = dlg.grid().GetCellText(2, 5);
            day = dlg.grid().GetCellText(0, 4);
            click(d, IDC_MRK_CONTINUE);
            stayed = IsWindow(d) && IsWindowVisible(d);
            if (c.button == 0) {
                click(d, IDC_MRK_HOLD);
                return;
            }
            CheckDlgButton(d, c.button, BST_CHECKED);
            UpdateWindow(d);
            if (c.result == 1)
                SaveWindowPng(d, png("contract_end.png").c_str());
            click(d, IDC_MRK_CONTINUE);
        });
        EXPECT_EQ(dlg.DoModal(), c.result);
        EXPECT_TRUE(stayed);
        ASSERT_EQ(s.host.boxes().size(), 1u);
        EXPECT_EQ(s.host.boxes()[0].type & MB_ICONSTOP, MB_ICONSTOP);
        EXPECT_EQ(rows, 3);
        EXPECT_EQ(name0, "C1");
        EXPECT_EQ(name1, "");
        EXPECT_EQ(line2, "A1-33");
        EXPECT_EQ(day, k.period == 0 ? day_name(k.delivery_day) : "---   ");
    }
}

TEST(MarketingContracts, ContractCanceledShowsTheEvent)
{
    Sample s;
    CContractCanceledDlg dlg(s.m(), nullptr, kOneTime, 0, "Contract Lost");
    std::string caption, end;
    s.host.OnDialog(IDD_MRK_CONTRACT_CANCELED, [&](HWND d) {
        caption = text_of(d);
        end = dlg.grid().GetCellText(0, 2);
        UpdateWindow(d);
        SaveWindowPng(d, png("contract_canceled.png").c_str());
        click(d, IDC_MRK_CONTINUE);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(caption, "Contract Lost");
    EXPECT_EQ(end, "  --- ");
}

// New Product: a launch date that is no date is refused and the dialog
// stays; Accept stores the date; Hold 2, Cancel 0.
TEST(MarketingContracts, NewProductLaunchDate)
{
    Sample s;
    CMarketingWnd& m = s.m();
    ASSERT_GE(m.new_product_count, 1);
    const SimDateTime today = s.session->clock.current;
    {
        s.host.Answer(IDOK, "New Product", "Invalid lunch date");
        CNewProductDlg dlg(m, nullptr, 0, today, 0);
        bool stayed = false;
        std::string preset, product;
        s.host.OnDialog(IDD_MRK_NEW_PRODUCT, [&](HWND d) {
            preset = text_of(GetDlgItem(d, IDC_MRK_LAUNCH_DATE));
            product = text_of(GetDlgItem(d, 1088));
            SetDlgItemText(d, IDC_MRK_LAUNCH_DATE, "no date");
            click(d, IDOK);
            stayed = IsWindow(d) && IsWindowVisible(d);
            SetDlgItemText(d, IDC_MRK_LAUNCH_DATE, "03/04/95");
            UpdateWindow(d);
            SaveWindowPng(d, png("new_product.png").c_str());
            click(d, IDOK);
        });
        EXPECT_EQ(dlg.DoModal(), 1);
        EXPECT_TRUE(stayed);
        EXPECT_EQ(preset, date_text(today, 0));
        EXPECT_EQ(product.substr(0, 2), "A3");
        ASSERT_EQ(s.host.boxes().size(), 1u);
        EXPECT_EQ(s.host.boxes()[0].type & MB_ICONINFORMATION, MB_ICONINFORMATION);
        EXPECT_EQ(dlg.launch.year, 95);
        EXPECT_EQ(dlg.launch.month, 4);
        EXPECT_EQ(dlg.launch.day, 3);
    }
    for (const auto& [button, result] : {std::pair{IDC_MRK_HOLD, 2}, std::pair{IDCANCEL, 0}}) {
        CNewProductDlg dlg(m, nullptr, 0, today, 0);
        s.host.OnDialog(IDD_MRK_NEW_PRODUCT, [&, b = button](HWND d) { click(d, b); });
        EXPECT_EQ(dlg.DoModal(), result);
    }
}

// The popups: lost orders list one line per product; the timer closes
// them unless the view pauses on events; past due units show " --- " for none.
TEST(MarketingContracts, PopupsCloseByTheirTimer)
{
    Sample s;
    int32_t pause = 0;
    auto* lost = new CMarketPopup(IDD_MRK_LOST_ORDERS, nullptr, &pause);
    ModelessPtr<CMarketPopup> keep(lost);
    lost->show_lost_orders({"\tA1\t2\t9", "\tA2\t1\t3"});
    ASSERT_TRUE(keep);
    const HWND list = GetDlgItem(keep->m_hWnd, IDC_MRK_LOST_LIST);
    EXPECT_EQ(SendMessage(list, LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(text_of(keep->m_hWnd), "Lost Customer Orders");
    EXPECT_TRUE(IsWindowVisible(keep->m_hWnd));
    UpdateWindow(keep->m_hWnd);
    SaveWindowPng(keep->m_hWnd, png("lost_orders.png").c_str());
    pause = 1;
    SendMessage(keep->m_hWnd, WM_TIMER, 1, 0);
    ASSERT_TRUE(keep) << "paused on events, the popup stays";
    pause = 0;
    SendMessage(keep->m_hWnd, WM_TIMER, 1, 0);
    EXPECT_FALSE(keep);

    auto* due = new CMarketPopup(IDD_MRK_PAST_DUE, nullptr, &pause);
    ModelessPtr<CMarketPopup> held(due);
    due->show_past_due({"\tA1\t4", "\tA2\t0"});
    ASSERT_TRUE(held);
    EXPECT_EQ(held->grid().GetRowCount(), 2);
    EXPECT_EQ(held->grid().GetCellText(0, 0), "  4");
    EXPECT_EQ(held->grid().GetCellText(1, 0), " --- ");
    UpdateWindow(held->m_hWnd);
    SaveWindowPng(held->m_hWnd, png("past_due.png").c_str());
    click(held->m_hWnd, IDCANCEL);
    EXPECT_FALSE(held);
}

// Each field of a contract's first row is drawn under its own header: past
// the answer's check box, the row's ink falls into runs, one a field, and
// the n-th run starts where the n-th header does.
TEST(MarketingContracts, SelectNewContractsFieldsStandUnderTheirHeaders)
{
    Sample s;
    const std::vector<ContractRef> list = {kWeekly, kOneTime};
    CNewContractsDlg dlg(s.m(), nullptr, list, 0);
    std::vector<int> headers, runs;
    s.host.OnDialog(IDD_MRK_NEW_CONTRACTS, [&](HWND d) {
        // The second contract selected: the first row is drawn plainly.
        dlg.list().SetCurSel(dlg.list().SelectableToRow(1), TRUE);
        const HWND l = GetDlgItem(d, IDC_MRK_CONTRACT_LIST);
        UpdateWindow(d);
        UpdateWindow(l);
        RECT lr{};
        GetWindowRect(l, &lr);
        for (int id = 1301; id <= 1309; ++id) {
            RECT hr{};
            GetWindowRect(GetDlgItem(d, id), &hr);
            headers.push_back(hr.left - lr.left);
        }
        // Columns of the row with ink; a gap of more than five pixels ends a run.
        HDC dc = GetDC(l);
        int last = -100;
        for (int x = 0; x < lr.right - lr.left - 2; ++x) {
            bool ink = false;
            for (int y = 3; y < 15 && !ink; ++y) {
                const COLORREF p = GetPixel(dc, x, y);
                ink = GetRValue(p) < 80 && GetGValue(p) < 80 && GetBValue(p) < 80;
            }
            if (!ink)
                continue;
            if (x - last > 5)
                runs.push_back(x);
            last = x;
        }
        ReleaseDC(l, dc);
        SaveWindowPng(d, png("new_contracts_columns.png").c_str());
        click(d, IDC_MRK_HOLD);
    });
    EXPECT_EQ(dlg.DoModal(), 5);
    ASSERT_EQ(headers.size(), 9u);
    // Left of the ID header only the check box; from it, one run a field:
    // ID, Name, Start, Stop, Type, Supply, Prod., Qty. and Price.
    std::vector<int> fields;
    for (int x : runs)
        if (x >= headers[0] - 4)
            fields.push_back(x);
    ASSERT_EQ(fields.size(), 9u) << ::testing::PrintToString(runs) << " " << ::testing::PrintToString(headers);
    const char* names[] = {"ID", "Name", "Start", "Stop", "Type", "Supply", "Prod.", "Qty.", "Price"};
    for (size_t c = 0; c < headers.size(); ++c) {
        EXPECT_GE(fields[c], headers[c] - 4) << names[c];
        EXPECT_LT(fields[c], headers[c] + 10) << names[c];
    }
}

// The program's own assembly asks the day's decisions in the department's
// windows: running the sample brings the contracts it offers up in Select
// New Contracts, and the answers given there hold.
TEST(MarketingContracts, TheProgramAsksTheOfferedContractsInItsWindow)
{
    Sample s;
    ASSERT_TRUE(s.marketing->decides_in_windows());
    // The contracts decided before the window this test answers (the first
    // day's, answered while the fixture opened the sample) are not its own.
    std::set<std::pair<size_t, size_t>> decided_before;
    int shown = 0;
    s.host.OnDialog(IDD_MRK_NEW_CONTRACTS, [&](HWND d) {
        EXPECT_TRUE(IsWindowVisible(d));
        if (shown++ == 0)
            for (size_t c = 0; c < s.m().customers.size(); ++c)
                for (size_t k = 0; k < s.m().customers[c].contracts.size(); ++k) {
                    const CustomerContract& ct = s.m().customers[c].contracts[k];
                    if (ct.status != CONTRACT_NOT_ACCEPTED)
                        decided_before.insert({c, k});
                }
        click(d, IDC_MRK_NO_ALL);
        click(d, IDOK);
    });
    for (int day = 0; day < 60 && shown == 0; ++day)
        s.run_days(1);
    ASSERT_GT(shown, 0) << "no contract offered in 60 days of the sample";
    int denied = 0, accepted = 0;
    for (size_t c = 0; c < s.m().customers.size(); ++c)
        for (size_t k = 0; k < s.m().customers[c].contracts.size(); ++k) {
            const CustomerContract& ct = s.m().customers[c].contracts[k];
            if (ct.offered != 0 && decided_before.count({c, k}) == 0)
                (ct.status == CONTRACT_ACTIVE ? accepted : denied) += 1;
        }
    EXPECT_GT(denied, 0);
    EXPECT_EQ(accepted, 0) << "No All in the window refused every offered contract";
}

// The window tests' shared fixture answers each decision window as a
// session without windows answers the question, and the window closes on
// it: a test that runs days neither waits on a window nor drifts from the
// headless results.
TEST(MarketingContracts, TheFixtureAnswersEachDecisionAsTheHeadlessSession)
{
    Sample s;
    MarketingUi headless;
    const std::vector<ContractRef> list = {kWeekly, kOneTime, kBlanket};
    std::vector<bool> want;
    ASSERT_EQ(headless.new_contracts(list, want), 1);
    {
        CNewContractsDlg dlg(s.m(), nullptr, list, 0);
        EXPECT_EQ(dlg.DoModal(), 1);
        EXPECT_EQ(dlg.accepted, want);
    }
    {
        CContractEndDlg dlg(s.m(), nullptr, kWeekly, 0);
        EXPECT_EQ(dlg.DoModal(), headless.contract_end(kWeekly));
    }
    {
        CContractCanceledDlg dlg(s.m(), nullptr, kOneTime, 0, "Contract Lost");
        EXPECT_EQ(dlg.DoModal(), IDOK);
    }
    {
        CNewProductDlg dlg(s.m(), nullptr, 0, s.session->clock.current, 0);
        EXPECT_EQ(dlg.DoModal(), headless.new_product(0));
    }
    EXPECT_TRUE(s.host.boxes().empty()) << s.host.boxes().front().caption;
}
