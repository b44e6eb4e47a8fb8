// Purchasing Contract End, alone and as the department asks it in the
// windowed program; and the department's action and policy commands, which
// open their dialogs only where the department has its panel.
#include "dialog_support.h"
#include "app/department.h"
#include "plat/msg.h"
#include "plat/help.h"
#include "purchasing/purchasing_dept.h"

using namespace prc_test;

namespace {

struct Choice {
    std::vector<int> pressed;   // radio buttons pressed in turn
    int button;
    int result;
};

TEST_F(PurchasingDialogs, ContractEndAsksForAChoiceBeforeContinuing)
{
    const Choice cases[] = {
        {{IDC_END_YES}, IDC_END_CONTINUE, CONTRACT_RENEW},
        {{IDC_END_NO}, IDC_END_CONTINUE, CONTRACT_END},
        {{IDC_END_NO, IDC_END_YES}, IDC_END_CONTINUE, CONTRACT_RENEW},
        {{}, IDC_END_HOLD, CONTRACT_HOLD},
        {{IDC_END_YES}, IDC_END_HOLD, CONTRACT_HOLD},
    };
    for (const Choice& c : cases) {
        Desk d;
        ASSERT_EQ(d.p.create_contract(0, 0, {40, 25}), "");
        ScriptedHost host;
        host.Answer(IDOK, "");
        std::string start;
        std::vector<std::string> items;
        bool open_after_bare_continue = false, open_after_cancel = false;
        host.OnDialog(IDD_PRC_CONTRACT_END, [&](HWND w) {
            start = text_of(w, IDC_END_START);
            items = list_rows(w, IDC_END_ITEMS);
            click(w, IDC_END_CONTINUE);
            open_after_bare_continue = IsWindowVisible(w) != 0;
            click(w, IDCANCEL);
            open_after_cancel = IsWindowVisible(w) != 0;
            for (int id : c.pressed)
                press(w, id);
            if (c.result == CONTRACT_END) {
                EXPECT_TRUE(SaveWindowPng(w, png("contract_end.png").c_str()));
            }
            click(w, c.button);
        });
        EXPECT_EQ(run_contract_end(d.p, d.p.contracts[0], nullptr), c.result);
        EXPECT_EQ(start, date_text(d.p.contracts[0].start, d.view.clock.date_order));
        EXPECT_EQ(items, (std::vector<std::string>{"XA\t40\t5", "XB\t25\t9"}));
        EXPECT_TRUE(open_after_bare_continue);
        EXPECT_TRUE(open_after_cancel) << "a choice must be made";
        EXPECT_EQ(box_texts(host), std::vector<std::string>{"End of Contract|You must select yes/no for renew "
                                                            "contract\n\nbefore continuing!"});
    }
}

// What the department needs of a panel: that there is one.
struct StubPanel : DepartmentWindow {
    void show(bool) override {}
    void show_link_button(int, int) override {}
    plat::HWND handle() const override { return 0; }
};

// The department over the fixture's materials and suppliers.
struct Department : Desk {
    PurchasingDepartment dept{view};
    CPurchasingWnd& e = dept.engine();
    Department()
    {
        e.families = p.families;
        e.family_count_ = p.family_count_;
        e.suppliers = p.suppliers;
        e.supplier_count = p.supplier_count;
        e.finance = &finance;
    }
};

TEST_F(PurchasingDialogs, DepartmentCommandsOpenTheirDialogsWhereThePanelIs)
{
    const std::pair<int, int> commands[] = {
        {401, IDD_PRC_ORDER}, {402, IDD_PRC_PACKAGES}, {403, IDD_PRC_SUPPLIERS},
        {501, IDD_PRC_MATERIAL_PARAMETERS}, {502, IDD_PRC_POLICY},
    };
    for (const auto& [command, dialog] : commands) {
        SCOPED_TRACE(command);
        Department d;
        ScriptedHost host;
        host.OnDialog(dialog, [](HWND w) { click(w, IDCANCEL); });
        d.dept.on_menu_command(command);
        EXPECT_TRUE(host.dialogs().empty()) << "headless nothing opens";
        d.dept.set_window(std::make_unique<StubPanel>());
        d.dept.on_menu_command(command);
        ASSERT_EQ(host.dialogs().size(), 1u);
        EXPECT_EQ(host.dialogs()[0].second, dialog);
    }
    // The view's Policy Decisions shortcut opens the same parameters dialog.
    Department d;
    d.dept.set_window(std::make_unique<StubPanel>());
    ScriptedHost host;
    host.OnDialog(IDD_PRC_MATERIAL_PARAMETERS, [](HWND w) { click(w, IDCANCEL); });
    d.dept.edit_policy(POLICY_PRODUCT_PARAMETERS);
    EXPECT_TRUE(host.dialogs().empty());
    d.dept.edit_policy(POLICY_MATERIAL_PARAMETERS);
    ASSERT_EQ(host.dialogs().size(), 1u);
    EXPECT_EQ(host.dialogs()[0].second, IDD_PRC_MATERIAL_PARAMETERS);
}

// The daily step's end of a contract asks the dialog in the windowed
// program: No ends it, Hold stops the day; headless it renews.
TEST_F(PurchasingDialogs, ContractEndInTheDailyStepIsAskedByTheDialog)
{
    for (const int choice : {int{CONTRACT_RENEW}, int{CONTRACT_END}, int{CONTRACT_HOLD}, 0}) {
        SCOPED_TRACE(choice);
        Department d;
        if (choice != 0)
            d.dept.set_window(std::make_unique<StubPanel>());
        ASSERT_EQ(d.e.create_contract(0, 0, {40, 25}), "");
        d.e.contracts[0].end = d.view.clock.current;
        ScriptedHost host;
        host.OnDialog(IDD_PRC_CONTRACT_END, [choice](HWND w) {
            if (choice == CONTRACT_HOLD) {
                click(w, IDC_END_HOLD);
                return;
            }
            press(w, choice == CONTRACT_END ? IDC_END_NO : IDC_END_YES);
            click(w, IDC_END_CONTINUE);
        });
        const bool went_on = d.e.check_contract_ends();
        EXPECT_EQ(host.dialogs().size(), choice != 0 ? 1u : 0u);
        EXPECT_EQ(went_on, choice != CONTRACT_HOLD);
        EXPECT_EQ(d.e.contracts.size(), choice == CONTRACT_END ? 0u : 1u);
        if (choice == CONTRACT_RENEW || choice == 0) {
            EXPECT_EQ(compare_dates(d.e.contracts[0].start, d.view.clock.current), 1) << "renewed from today";
        }
    }
}

} // namespace

namespace {

// Each dialog's Help button opens its own page of the bundled help.
TEST_F(PurchasingDialogs, HelpOpensEachDialogsPage)
{
    namespace fs = std::filesystem;
    Desk d;
    ASSERT_EQ(d.p.create_contract(0, 0, {40, 25}), "");
    const fs::path before = fs::current_path();
    // The viewer finds vorn.help beside the working folder: the source's pages, only read.
    fs::current_path(fs::path(VORN_SOURCE_DIR) / "resources" / "help");
    const std::pair<int, const char*> pages[] = {
        {IDD_PRC_ORDER, "221.html"},          {IDD_PRC_PACKAGES, "222.html"},
        {IDD_PRC_SUPPLIERS, "223.html"},      {IDD_PRC_CHANGE_SUPPLIER, "224.html"},
        {IDD_PRC_ORDER_PACKAGE, "225.html"},  {IDD_PRC_MATERIAL_PARAMETERS, "231.html"},
        {IDD_PRC_POLICY, "232.html"},         {IDD_PRC_CONTRACT_END, "233.html"},
    };
    for (const auto& [dialog, page] : pages) {
        SCOPED_TRACE(dialog);
        ScriptedHost host;
        std::string shown;
        host.OnDialog(dialog, [&shown](HWND w) {
            click(w, IDC_PRC_DIALOG_HELP);
            shown = fs::path(HelpViewerPage()).filename().string();
            WinHelp(0, "vorn.hlp", HELP_QUIT, 0);
            if (IsWindowVisible(GetDlgItem(w, IDC_END_HOLD)))
                click(w, IDC_END_HOLD);
            else
                click(w, IDCANCEL);
        });
        switch (dialog) {
        case IDD_PRC_ORDER: run_prc_order(d.p, nullptr); break;
        case IDD_PRC_PACKAGES: run_prc_packages(d.p, nullptr); break;
        case IDD_PRC_SUPPLIERS: run_prc_suppliers(d.p, nullptr); break;
        case IDD_PRC_CHANGE_SUPPLIER: CChangeSupplierDlg(d.p, nullptr).DoModal(); break;
        case IDD_PRC_ORDER_PACKAGE: COrderPackageDlg(d.p, 0, 0, false, nullptr).DoModal(); break;
        case IDD_PRC_MATERIAL_PARAMETERS: run_material_parameters(d.p, nullptr); break;
        case IDD_PRC_POLICY: run_purchasing_policy(d.p, 1, nullptr, {}); break;
        default: run_contract_end(d.p, d.p.contracts[0], nullptr); break;
        }
        EXPECT_EQ(shown, page);
    }
    fs::current_path(before);
}

} // namespace
