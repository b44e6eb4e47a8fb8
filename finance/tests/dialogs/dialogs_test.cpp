// The Finance dialogs driven through the layer over scripted books: what
// each shows, the list choices, the boxes instead of empty dialogs, and the
// graph choice that stays open with more than three graphs.
#include "finance/finance_dialogs.h"
#include "support/fakes.h"
#include "foundation/datafile.h"
#include "plat/config.h"
#include "plat/controls.h"
#include "plat/dialog.h"
#include "plat/fw/app.h"
#include "plat/module.h"
#include "plat/testing.h"
#include "plat/trace.h"
#include "plat/window.h"
#include "uikit/uikit.h"
#include <gtest/gtest.h>
#include <filesystem>
#include <string>

using namespace plat;
namespace fs = std::filesystem;

namespace {

class FinanceDialogs : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        InitGui();
        const HINSTANCE module = RegisterModule("FINTEST.EXE", nullptr);
        register_finance_dialog_templates(module);
        uikit_register_resources(module);
        AfxSetResourceHandle(module);
    }
    void TearDown() override { ResetWindowsForTest(); }
};

void click(HWND dlg, int id)
{
    SendMessage(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), static_cast<LPARAM>(GetDlgItem(dlg, id)));
}

std::string text_of(HWND dlg, int id)
{
    char text[128] = {};
    GetDlgItemText(dlg, id, text, sizeof text);
    return text;
}

std::vector<std::string> cost_fields(HWND dlg)
{
    std::vector<std::string> out;
    for (int i = 0; i < 7; ++i)
        out.push_back(text_of(dlg, FIN_VALUE_FIRST + i));
    return out;
}

std::string png(const std::string& name)
{
    const std::string folder = std::string(VORN_BINARY_DIR) + "/finance-png";
    fs::create_directories(folder);
    return folder + "/" + name;
}

ProductFigures product(float price, float material, float labour, float indirect, float advertising = 0)
{
    ProductFigures pf;
    pf.price = price;
    pf.material_cost = material;
    pf.labour = labour;
    pf.indirect = indirect;
    pf.advertising = advertising;
    return pf;
}

void two_products(Books& b)
{
    ProductFigures retired = product(50, 20, 5, 5);
    retired.retired = true;
    b.marketing.products = {product(80, 30, 10, 5, 2), product(100, 40, 10, 10), retired};
}

ContractSummary contract(uint16_t number, bool held = false)
{
    ContractSummary c;
    c.number = number;
    c.held = held;
    c.customer = "Bolt & Co";
    c.start = "02/01/95";
    c.type = "Monthly";
    c.lines = {{0, 0, 10, 75, "A1-10"}, {0, 1, 4, 90, "A2-4"}};
    return c;
}

} // namespace

TEST_F(FinanceDialogs, ProductAnalysisShowsTheFirstProductThenTheChosenOne)
{
    Books b;
    two_products(b);
    ScriptedHost host;
    std::vector<std::string> first, second;
    std::string title;
    int entries = 0;
    host.OnDialog(IDD_PRODUCT_ANALYSIS, [&](HWND d) {
        entries = static_cast<int>(SendDlgItemMessage(d, FIN_LIST, LB_GETCOUNT, 0, 0));
        first = cost_fields(d);
        SaveWindowPng(d, png("product_analysis.png").c_str());
        SendDlgItemMessage(d, FIN_LIST, LB_SETCURSEL, 1, 0);
        SendMessage(d, WM_COMMAND, MAKEWPARAM(FIN_LIST, LBN_SELCHANGE),
                    static_cast<LPARAM>(GetDlgItem(d, FIN_LIST)));
        second = cost_fields(d);
        char t[128] = {};
        GetWindowText(d, t, sizeof t);
        title = t;
        click(d, IDCANCEL);
    });
    CProductAnalysisDlg dlg(b.engine, nullptr);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(entries, 3);
    EXPECT_EQ(first, (std::vector<std::string>{"80.00", "30.00", "10.00", "7.00", "45.00", "35.00", "43.75%"}));
    EXPECT_EQ(second, (std::vector<std::string>{"100.00", "40.00", "10.00", "10.00", "60.00", "40.00", "40.00%"}));
    EXPECT_EQ(title, "Product Cost Analysis - A2");
    EXPECT_EQ(dlg.help_context(), 301);
}

TEST_F(FinanceDialogs, ContractAnalysisListsHeldContractsInHoldAndFillsTheGrid)
{
    Books b;
    two_products(b);
    b.marketing.contracts = {contract(7), contract(12, true)};
    b.host.state = RUN_HOLD;
    ScriptedHost host;
    std::vector<std::string> entries, fields;
    std::string id, name, line2, price2;
    host.OnDialog(IDD_CONTRACT_ANALYSIS, [&](HWND d) {
        const int n = static_cast<int>(SendDlgItemMessage(d, FIN_LIST, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            char t[64] = {};
            SendDlgItemMessage(d, FIN_LIST, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(t));
            entries.push_back(t);
        }
        fields = cost_fields(d);
        id = text_of(d, FIN_CONTRACT_ID);
        auto* dlg = dynamic_cast<CContractAnalysisDlg*>(CWnd::FromHandle(d));
        if (dlg != nullptr && dlg->grid() != nullptr) {
            name = dlg->grid()->GetCellText(0, 0);
            line2 = dlg->grid()->GetCellText(1, 3);
            price2 = dlg->grid()->GetCellText(1, 4);
        }
        SaveWindowPng(d, png("contract_analysis.png").c_str());
        click(d, IDCANCEL);
    });
    CContractAnalysisDlg dlg(b.engine, nullptr);
    dlg.DoModal();
    EXPECT_EQ(entries, (std::vector<std::string>{"7", "12 (In Hold)"}));
    EXPECT_EQ(id, "7");
    EXPECT_EQ(fields,
              (std::vector<std::string>{"1110.00", "460.00", "140.00", "90.00", "690.00", "420.00", "37.84%"}));
    EXPECT_EQ(name, "Bolt & Co");
    EXPECT_EQ(line2, "A2-4");
    EXPECT_EQ(price2, "90");
}

TEST_F(FinanceDialogs, NoContractShowsOnlyTheBoxAndTheSummaryOnlyItsText)
{
    Books b;
    two_products(b);
    ScriptedHost host;
    host.Answer(IDOK, "Contract Cost Analysis", "No available contracts", ScriptedHost::Match::Exact);
    bool opened = false;
    host.OnDialog(IDD_CONTRACT_ANALYSIS, [&](HWND d) {
        opened = true;
        click(d, IDCANCEL);
    });
    CContractAnalysisDlg dlg(b.engine, nullptr);
    dlg.DoModal();
    EXPECT_FALSE(opened);
    ASSERT_EQ(host.boxes().size(), 1u);

    bool text_shown = false;
    const CGrid* grid = reinterpret_cast<const CGrid*>(1);
    host.OnDialog(IDD_CONTRACT_THROUGHPUT, [&](HWND d) {
        text_shown = IsWindowVisible(GetDlgItem(d, FIN_NO_CONTRACTS)) != 0;
        grid = dynamic_cast<CSummaryGridDlg*>(CWnd::FromHandle(d))->grid();
        click(d, IDCANCEL);
    });
    CSummaryGridDlg summary(CSummaryGridDlg::CONTRACT_THROUGHPUT, b.engine, nullptr);
    summary.DoModal();
    EXPECT_TRUE(text_shown);
    EXPECT_EQ(grid, nullptr);
}

struct SummaryCase {
    CSummaryGridDlg::Kind kind;
    int template_id;
    int help;
    const char* picture;
    std::vector<std::string> values;
};

TEST_F(FinanceDialogs, SummaryGridsLabelEveryProductAndValueThoseStillSold)
{
    Books b;
    two_products(b);
    b.marketing.contracts = {contract(7), contract(3)};
    const SummaryCase cases[] = {
        {CSummaryGridDlg::MARGINAL_PROFIT, IDD_MARGINAL_PROFIT, 306, "marginal_profit.png", {"43.75%", "40.00%", ""}},
        {CSummaryGridDlg::PRODUCT_THROUGHPUT, IDD_PRODUCT_THROUGHPUT, 308, "product_throughput.png",
         {"50.00", "60.00", ""}},
        {CSummaryGridDlg::CONTRACT_THROUGHPUT, IDD_CONTRACT_THROUGHPUT, 309, "contract_throughput.png",
         {"650.00($)", "650.00($)"}},
    };
    for (const SummaryCase& c : cases) {
        SCOPED_TRACE(c.picture);
        ScriptedHost host;
        std::vector<std::string> values;
        int rows = -1;
        host.OnDialog(c.template_id, [&](HWND d) {
            const CGrid* grid = dynamic_cast<CSummaryGridDlg*>(CWnd::FromHandle(d))->grid();
            if (grid != nullptr) {
                rows = grid->GetRowCount();
                for (int r = 0; r < grid->GetRowCount(); ++r)
                    values.push_back(grid->GetCellText(r, 0));
            }
            SaveWindowPng(d, png(c.picture).c_str());
            click(d, IDCANCEL);
        });
        CSummaryGridDlg dlg(c.kind, b.engine, nullptr);
        dlg.DoModal();
        EXPECT_EQ(rows, static_cast<int>(c.values.size()));
        EXPECT_EQ(values, c.values);
        EXPECT_EQ(dlg.help_context(), c.help);
    }
}

TEST_F(FinanceDialogs, GlobalMeasuresAndEva)
{
    Books b;
    two_products(b);
    b.marketing.sales = 1234567;
    b.engine.total_expenses.acc = 20000;
    ScriptedHost host;
    std::vector<std::string> global;
    host.OnDialog(IDD_GLOBAL_MEASURES, [&](HWND d) {
        for (int i = 0; i < 4; ++i)
            global.push_back(text_of(d, FIN_GLOBAL_FIRST + i));
        SaveWindowPng(d, png("global_measures.png").c_str());
        click(d, IDCANCEL);
    });
    CGlobalMeasuresDlg g(b.engine, nullptr);
    g.DoModal();
    EXPECT_EQ(global, (std::vector<std::string>{"1,234,567", "310,000", "0", "20,000"}));

    // Before a month has passed: the box, no dialog.
    host.Answer(IDOK, "EVA Measurement", "Not availble yet", ScriptedHost::Match::Exact);
    bool opened = false;
    host.OnDialog(IDD_EVA_MEASUREMENT, [&](HWND d) {
        opened = true;
        click(d, IDCANCEL);
    });
    CEvaMeasurementDlg early(b.engine, nullptr);
    early.DoModal();
    EXPECT_FALSE(opened);
    ASSERT_EQ(host.boxes().size(), 1u);

    b.run_until({95, 3, 1, 8, 0});
    const EvaFigures e = eva_measurement(b.engine);
    std::string interest, eva, from;
    host.OnDialog(IDD_EVA_MEASUREMENT, [&](HWND d) {
        opened = true;
        from = text_of(d, FIN_EVA_FIRST);
        interest = text_of(d, FIN_EVA_FIRST + 4);
        eva = text_of(d, FIN_EVA_FIRST + 6);
        SaveWindowPng(d, png("eva_measurement.png").c_str());
        click(d, IDCANCEL);
    });
    CEvaMeasurementDlg later(b.engine, nullptr);
    later.DoModal();
    EXPECT_TRUE(opened);
    EXPECT_EQ(from, date_text(e.from, 0));
    EXPECT_EQ(interest, "0.02");
    std::string expected = std::to_string(e.eva);
    insert_thousands_separators(expected);
    EXPECT_EQ(eva, expected);
}

struct ChoiceCase {
    std::array<bool, 8> boxes;
    bool taken;
};

TEST_F(FinanceDialogs, SelectGraphsTakesUpToThreeAndThroughputPlusOeCountsOnce)
{
    const ChoiceCase cases[] = {
        {{true, true, true, true, false, false, false, false}, false},    // four graphs
        {{true, true, false, true, false, true, false, true}, true},      // T+OE covers Throughput and OE
        {{true, true, true, false, false, false, false, true}, false},    // three and T+OE
        {{false, false, false, false, false, false, false, false}, true}, // none
        {{false, false, false, false, true, false, true, false}, true},
    };
    for (const ChoiceCase& c : cases) {
        ScriptedHost host;
        host.Answer(IDOK, "Select Graphs", "Please select up to 3 graphs", ScriptedHost::Match::Exact);
        std::array<bool, 8> initial{};
        bool stayed = false;
        host.OnDialog(IDD_SELECT_GRAPHS, [&](HWND d) {
            for (int i = 0; i < 8; ++i) {
                initial[static_cast<size_t>(i)] = IsDlgButtonChecked(d, FIN_GRAPH_BOX_FIRST + i) == BST_CHECKED;
                CheckDlgButton(d, FIN_GRAPH_BOX_FIRST + i, c.boxes[static_cast<size_t>(i)] ? BST_CHECKED : BST_UNCHECKED);
            }
            click(d, IDOK);
            stayed = IsWindow(d) && IsWindowVisible(d);
            if (stayed)
                click(d, IDCANCEL);
        });
        GraphChoice start{{true, true, true, false, false, false, false, false}};
        CSelectGraphsDlg dlg(start, nullptr);
        const intptr_t result = dlg.DoModal();
        EXPECT_EQ(initial, start.box);
        EXPECT_EQ(stayed, !c.taken);
        EXPECT_EQ(result, c.taken ? IDOK : IDCANCEL);
        EXPECT_EQ(host.boxes().size(), c.taken ? 0u : 1u);
        if (c.taken)
            EXPECT_EQ(dlg.choice.box, c.boxes);
        else
            EXPECT_EQ(dlg.choice.box, start.box);
    }
}
