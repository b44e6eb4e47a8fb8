// Purchasing Policy: the parameters shown with MRP only, MRP refused unless
// Production releases by MRP, figures that are no days or units refused
// with the focus on them, the switch to MRP clearing the levels, one record
// per accepted change, and the launcher's follow-ups.
#include "dialog_support.h"
#include "plat/msg.h"

using namespace prc_test;

namespace {

bool shown(HWND w, int id) { return IsWindowVisible(GetDlgItem(w, id)) != 0; }
bool enabled(HWND w, int id) { return IsWindowEnabled(GetDlgItem(w, id)) != 0; }

TEST_F(PurchasingDialogs, PolicyShowsTheParametersWithMrpOnly)
{
    Desk d;
    d.p.days_before_qlt = 3;
    d.p.minimum_to_order = 12;
    ScriptedHost host;
    struct Seen {
        bool stock, mrp, params, days, days_enabled;
    };
    std::vector<Seen> seen;
    std::string days, minimum;
    auto look = [&](HWND w) {
        seen.push_back({IsDlgButtonChecked(w, IDC_POLICY_STOCK) == BST_CHECKED,
                        IsDlgButtonChecked(w, IDC_POLICY_MRP) == BST_CHECKED, shown(w, IDC_POLICY_PARAMETERS),
                        shown(w, IDC_POLICY_DAYS), enabled(w, IDC_POLICY_DAYS)});
    };
    host.OnDialog(IDD_PRC_POLICY, [&](HWND w) {
        look(w);
        days = text_of(w, IDC_POLICY_DAYS);
        minimum = text_of(w, IDC_POLICY_MINIMUM);
        press(w, IDC_POLICY_MRP);
        look(w);
        press(w, IDC_POLICY_QLT);   // off: the days count
        look(w);
        EXPECT_TRUE(SaveWindowPng(w, png("purchasing_policy.png").c_str()));
        press(w, IDC_POLICY_STOCK);
        look(w);
        click(w, IDCANCEL);
    });
    CPurchasingPolicyDlg dlg(d.p, 1, nullptr);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(days, "3");
    EXPECT_EQ(minimum, "12");
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_TRUE(seen[0].stock && !seen[0].mrp && !seen[0].params && !seen[0].days);
    EXPECT_TRUE(seen[1].mrp && seen[1].params && seen[1].days && !seen[1].days_enabled);
    EXPECT_TRUE(seen[2].days_enabled);
    EXPECT_TRUE(seen[3].stock && !seen[3].params && !seen[3].days);
    EXPECT_EQ(d.p.policy, POLICY_ORDER_LEVEL);
    EXPECT_EQ(d.p.according_to_qlt, 1);
    EXPECT_TRUE(d.decisions.empty());
}

TEST_F(PurchasingDialogs, PolicyRefusesMrpUnlessProductionReleasesByMrp)
{
    for (const int release : {0, 2, 3}) {
        Desk d;
        ScriptedHost host;
        host.Answer(IDOK, "");
        bool open_after = false;
        host.OnDialog(IDD_PRC_POLICY, [&](HWND w) {
            press(w, IDC_POLICY_MRP);
            click(w, IDOK);
            open_after = IsWindowVisible(w) != 0;
            click(w, IDCANCEL);
        });
        CPurchasingPolicyDlg dlg(d.p, release, nullptr);
        dlg.DoModal();
        EXPECT_TRUE(open_after);
        EXPECT_EQ(box_texts(host),
                  std::vector<std::string>{"Purchasing Policy|You must set the 'Raw Material Release' in production\nto "
                                           "MRP before settings MRP in purchasing"});
        EXPECT_EQ(d.p.policy, POLICY_ORDER_LEVEL);
        EXPECT_EQ(d.xa().red_line_level, 100);
    }
}

// "40000" would wrap in 16 bits; neither it nor a negative is a count.
TEST_F(PurchasingDialogs, PolicyRefusesFiguresThatAreNoDaysOrUnits)
{
    struct Case {
        const char *days, *minimum;
        int focus;
    } cases[] = {
        {"-3", "10", IDC_POLICY_DAYS}, {"2", "-1", IDC_POLICY_MINIMUM}, {"40000", "10", IDC_POLICY_DAYS},
        {"2", "40000", IDC_POLICY_MINIMUM}, {"two", "10", IDC_POLICY_DAYS},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.days) + " " + c.minimum);
        Desk d;
        ScriptedHost host;
        host.Answer(IDOK, "");
        bool open_after = false, focused = false;
        host.OnDialog(IDD_PRC_POLICY, [&](HWND w) {
            press(w, IDC_POLICY_MRP);
            press(w, IDC_POLICY_QLT);
            SetDlgItemText(w, IDC_POLICY_DAYS, c.days);
            SetDlgItemText(w, IDC_POLICY_MINIMUM, c.minimum);
            click(w, IDOK);
            open_after = IsWindowVisible(w) != 0;
            focused = GetFocus() == GetDlgItem(w, c.focus);
            click(w, IDCANCEL);
        });
        CPurchasingPolicyDlg dlg(d.p, 1, nullptr);
        dlg.DoModal();
        EXPECT_TRUE(open_after);
        EXPECT_TRUE(focused);
        EXPECT_EQ(box_texts(host), std::vector<std::string>{"Purchasing Policy|Invalid value!"});
        EXPECT_EQ(d.p.policy, POLICY_ORDER_LEVEL);
        EXPECT_EQ(d.p.according_to_qlt, 1);
        EXPECT_EQ(d.p.minimum_to_order, 0);
        EXPECT_TRUE(d.decisions.empty());
    }
}

// To MRP: levels cleared, the parameters stored, one record; back to order
// level the levels stay cleared; an OK that changes nothing records nothing.
TEST_F(PurchasingDialogs, PolicySwitchesClearTheLevelsAndRecordEachChange)
{
    Desk d;
    d.p.safety_stock[0][0] = 30;
    ScriptedHost host;
    auto run = [&](std::function<void(HWND)> act) {
        host.OnDialog(IDD_PRC_POLICY, [act](HWND w) {
            act(w);
            click(w, IDOK);
        });
        CPurchasingPolicyDlg dlg(d.p, 1, nullptr);
        return dlg.DoModal();
    };
    EXPECT_EQ(run([](HWND w) {
                  press(w, IDC_POLICY_MRP);
                  press(w, IDC_POLICY_QLT);
                  SetDlgItemText(w, IDC_POLICY_DAYS, " 2");
                  SetDlgItemText(w, IDC_POLICY_MINIMUM, "15");
              }),
              IDOK);
    EXPECT_EQ(d.p.policy, POLICY_MRP);
    EXPECT_EQ(d.p.according_to_qlt, 0);
    EXPECT_EQ(d.p.days_before_qlt, 2);
    EXPECT_EQ(d.p.minimum_to_order, 15);
    for (int f = 0; f < 2; ++f)
        for (int m = 0; m < d.p.material_count(f); ++m) {
            EXPECT_EQ(d.p.safety_stock[static_cast<size_t>(f)][static_cast<size_t>(m)], 0);
            EXPECT_EQ(d.p.material(f, m).red_line_level, 0);
        }
    EXPECT_EQ(d.decisions, (Decisions{{"PrcPolicy", "", "0", "1,0,2,15"}}));

    run([](HWND) {});
    EXPECT_EQ(d.decisions.size(), 1u) << "nothing changed";

    run([](HWND w) { SetDlgItemText(w, IDC_POLICY_MINIMUM, "20"); });
    EXPECT_EQ(d.decisions.back(), (Decision{"PrcPolicy", "", "1", "1,0,2,20"}));
    EXPECT_EQ(d.decisions.size(), 2u);

    d.xa().red_line_level = 0;
    run([](HWND w) { press(w, IDC_POLICY_STOCK); });
    EXPECT_EQ(d.p.policy, POLICY_ORDER_LEVEL);
    EXPECT_EQ(d.xb().red_line_level, 0);
    EXPECT_EQ(d.decisions.back(), (Decision{"PrcPolicy", "", "1", "0,0,2,20"}));
    EXPECT_EQ(d.decisions.size(), 3u);
}

// After OK the policy is applied: the levels-shown flag follows it, MRP
// re-plans on a re-plan day and orders, and the window is repainted.
TEST_F(PurchasingDialogs, PolicyLauncherAppliesThePolicyAndRepaints)
{
    Desk d;
    d.view.clock.current = at(1996, 4, 1);   // a Monday, the month's first
    d.p.requirements_source = [&](std::vector<MaterialRequirement>& list) {
        list.push_back({0, 0, 500, static_cast<int32_t>(d.view.tick_count + 3 * 480)});
    };
    ScriptedHost host;
    int repaints = 0;
    host.OnDialog(IDD_PRC_POLICY, [](HWND w) {
        press(w, IDC_POLICY_MRP);
        click(w, IDOK);
    });
    run_purchasing_policy(d.p, 1, nullptr, [&] { ++repaints; });
    EXPECT_EQ(d.p.levels_shown, 0);
    EXPECT_EQ(repaints, 1);
    ASSERT_EQ(d.p.plan.size(), 1u);
    // 400 in stock against 500 needed within the lead: 100 ordered.
    ASSERT_EQ(d.p.orders.size(), 1u);
    EXPECT_EQ(d.p.orders[0].quantity, 100);

    host.OnDialog(IDD_PRC_POLICY, [](HWND w) { click(w, IDCANCEL); });
    run_purchasing_policy(d.p, 1, nullptr, [&] { ++repaints; });
    EXPECT_EQ(repaints, 1) << "Cancel applies nothing";

    host.OnDialog(IDD_PRC_POLICY, [](HWND w) {
        press(w, IDC_POLICY_STOCK);
        click(w, IDOK);
    });
    run_purchasing_policy(d.p, 1, nullptr, [&] { ++repaints; });
    EXPECT_EQ(d.p.levels_shown, 1);
    EXPECT_EQ(repaints, 2);
}

} // namespace
