// Production's dialogs over the sample plant, driven through the layer:
// choosers, manual orders, a job set on a unit by hand, the waiting list.
#include "../support/sim.h"
#include "dialog_support.h"
#include "plat/config.h"
#include "plat/controls.h"
#include "plat/dialog.h"
#include "plat/fw/app.h"
#include "plat/module.h"
#include "plat/testing.h"
#include "plat/trace.h"
#include "plat/window.h"
#include "production/production_dialogs.h"
#include <gtest/gtest.h>
#include <filesystem>
#include <string>
#include <vector>

using namespace plat;
namespace fs = std::filesystem;

using namespace dialog_support;


struct MachineCase {
    const char* typed;
    bool ok;
    int expected;
};

TEST_F(ProductionDialogs, GetMachineNameFindsTheNameInAnyCase)
{
    Sim sim;
    const MachineCase cases[] = {
        {"M1", true, 0}, {"m2", true, 1}, {"M3", true, -1}, {"", true, -1}, {"M1", false, -1},
    };
    for (const MachineCase& c : cases) {
        ScriptedHost host;
        std::vector<std::string> offered;
        std::string caption, shown;
        host.OnDialog(IDD_GET_MACHINE_NAME, [&](HWND d) {
            offered = list_rows(d, 1112, CB_GETCOUNT, CB_GETLBTEXT);
            char text[64] = {};
            GetWindowText(d, text, sizeof text);
            caption = text;
            GetDlgItemText(d, 1112, text, sizeof text);
            shown = text;
            SetDlgItemText(d, 1112, c.typed);
            click(d, c.ok ? IDOK : IDCANCEL);
        });
        CGetMachineNameDlg dlg(sim.prod, "Machine Information", nullptr);
        dlg.DoModal();
        EXPECT_EQ(dlg.result, c.expected) << c.typed;
        EXPECT_EQ(offered, (std::vector<std::string>{"M1", "M2"}));
        EXPECT_EQ(shown, "M1") << "the first machine is preselected";
        EXPECT_EQ(caption, "Machine Information");
        EXPECT_TRUE(host.boxes().empty());
    }
}

TEST_F(ProductionDialogs, GetCommonPartTakesOnlyStockedParts)
{
    Sim sim;
    {
        ScriptedHost host;
        host.Answer(IDOK, "");
        std::vector<std::string> offered;
        bool stayed = false;
        host.OnDialog(IDD_GET_COMMON_PART, [&](HWND d) {
            offered = list_rows(d, 1112, CB_GETCOUNT, CB_GETLBTEXT);
            SetDlgItemText(d, 1112, "A1");   // a product, not a common part
            click(d, IDOK);
            stayed = IsWindow(d) != 0;
            SetDlgItemText(d, 1112, "u1");
            click(d, IDOK);
        });
        CGetCommonPartDlg dlg(sim.prod, nullptr);
        dlg.DoModal();
        EXPECT_EQ(offered, (std::vector<std::string>{"U1"}));
        EXPECT_TRUE(stayed);
        ASSERT_EQ(host.boxes().size(), 1u);
        EXPECT_EQ(host.boxes()[0].text, "Invalid common part name");
        EXPECT_EQ(host.boxes()[0].caption, "Get Common Part Name");
        EXPECT_EQ(dlg.result, 1);
    }
    // No common part at all: the box, and the chooser answers none.
    for (auto& p : sim.prod.Products)
        p->stock_policy = 0;
    ScriptedHost host;
    host.Answer(IDOK, "");
    CGetCommonPartDlg dlg(sim.prod, nullptr);
    dlg.DoModal();
    EXPECT_EQ(dlg.result, -1);
    ASSERT_EQ(host.boxes().size(), 1u);
    EXPECT_EQ(host.boxes()[0].text, "No common parts are defined");
}

struct OrderCase {
    const char* quantity;
    bool accepted;
};

// A quantity the 16-bit order cannot hold is refused like one below 1; an
// accepted one makes a manual order, a decision record and the box, and the
// dialog stays for the next order.
TEST_F(ProductionDialogs, OrderPlacesManualOrdersUntilClosed)
{
    const OrderCase cases[] = {{"0", false}, {"-3", false}, {"40000", false}, {"2.5", false}, {"abc", false},
                               {"", false},  {"7", true},   {"32767", true}};
    for (const OrderCase& c : cases) {
        Floor f;
        const size_t before = f.prod.prd_orders.size();
        ScriptedHost host;
        host.Answer(IDOK, "");
        std::string after;
        bool open_after = false;
        host.OnDialog(IDD_PRODUCTION_ORDER, [&](HWND d) {
            SendDlgItemMessage(d, 1088, LB_SETCURSEL, 1, 0);   // U1
            SetDlgItemText(d, 1130, c.quantity);
            click(d, 1128);
            char text[32] = {};
            GetDlgItemText(d, 1130, text, sizeof text);
            after = text;
            open_after = IsWindow(d) != 0;
            if (c.accepted) {
                EXPECT_TRUE(SaveWindowPng(d, png("production_order.png").c_str()));
            }
            click(d, IDCANCEL);
        });
        COrderDlg dlg(f.prod, f.log, nullptr);
        dlg.DoModal();
        EXPECT_TRUE(open_after);
        ASSERT_EQ(host.boxes().size(), 1u) << c.quantity;
        if (!c.accepted) {
            EXPECT_EQ(f.prod.prd_orders.size(), before) << c.quantity;
            EXPECT_EQ(host.boxes()[0].text, "Invaild quantity");
            EXPECT_EQ(host.boxes()[0].caption, "Order");
            EXPECT_TRUE(f.decisions.empty());
            continue;
        }
        ASSERT_EQ(f.prod.prd_orders.size(), before + 1) << c.quantity;
        const ProductionOrder& o = *f.prod.prd_orders.back();
        EXPECT_EQ(o.quantity, std::atoi(c.quantity));
        EXPECT_EQ(o.order_type, ORDER_MANUAL);
        EXPECT_EQ(o.item_kind, KIND_PRODUCT);
        EXPECT_EQ(f.prod.order_product(o), 1u);
        EXPECT_EQ(host.boxes()[0].text, "Order accepted");
        EXPECT_EQ(host.boxes()[0].caption, "Production order");
        ASSERT_EQ(f.decisions.size(), 1u);
        EXPECT_EQ(f.decisions[0].key, "PrdOrder");
        EXPECT_EQ(f.decisions[0].object, "1");
        EXPECT_EQ(f.decisions[0].new_value, c.quantity);
        EXPECT_EQ(after, "0");
        EXPECT_EQ(dlg.orders_placed, 1);
    }
}

TEST_F(ProductionDialogs, WaitingListShowsEachRequestAtTheMachine)
{
    Floor f;
    ASSERT_TRUE(f.run_until_waiting(0, 1));
    const RMachine& m = *f.prod.Machines[0];
    const std::vector<std::string> lines = CWaitingWOsDlg::lines(f.prod, 0);
    ASSERT_EQ(lines.size(), m.Waiting_WOs_Data.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        const Waiting_WO_Data& e = *m.Waiting_WOs_Data[i];
        const std::string expected = std::string("\t") + e.request->wo->name + "\t" + e.job->name + "\tA1\t" +
                                     std::to_string(e.request->quantity) + "\t" +
                                     std::to_string(e.request->remaining()) + "\t" +
                                     std::to_string(available_work_minutes(f.prod, 0, e));
        EXPECT_EQ(lines[i], expected);
    }
    // Work with no input delivered has nothing available; delivered work takes its minutes.
    const Waiting_WO_Data& e = *m.Waiting_WOs_Data.front();
    const RAvailableWorkPlanTable table(f.prod, 0);
    const uint16_t d = table.entry_duration(nullptr, e);
    EXPECT_EQ(available_work_minutes(f.prod, 0, e), d == CANNOT_PLAN ? 0 : d);

    ScriptedHost host;
    std::string caption;
    std::vector<std::string> rows;
    host.OnDialog(IDD_WAITING_WOS, [&](HWND d) {
        char text[64] = {};
        GetWindowText(d, text, sizeof text);
        caption = text;
        rows = list_rows(d, CWaitingWOsDlg::LIST_ID);
        EXPECT_TRUE(SaveWindowPng(d, png("waiting_wos_dialog.png").c_str()));
        click(d, IDCANCEL);
    });
    CWaitingWOsDlg dlg(f.prod, 0, nullptr);
    dlg.DoModal();
    EXPECT_EQ(caption, "Waiting WO's - M1");
    EXPECT_EQ(rows, lines);
}

// OK aborts the chosen unit's batch and starts the chosen request there; a
// request with nothing left to start is refused before the unit loses its work.
TEST_F(ProductionDialogs, SetUnitManuallyAbortsTheUnitsBatchFirst)
{
    Floor f;
    RMachine& m = *f.prod.Machines[0];
    // Run until the unit is busy, then release a second work order behind it.
    bool busy = false;
    for (int i = 0; i < 3 * 480 && !busy; ++i) {
        f.minute();
        const RMachineUnit& u = *m.Units[0];
        busy = u.batch > 0 && u.current_job != nullptr;
    }
    ASSERT_TRUE(busy) << "the unit never started";
    f.prod.add_order(0, 0, 3, ORDER_CUSTOMER, KIND_PRODUCT, 5);
    f.prod.release_orders({f.prod.prd_orders.back().get()});
    ASSERT_GE(m.Waiting_WOs_Data.size(), 2u) << "the second work order does not wait at the machine";
    // Until the second work order's material has reached the machine.
    Waiting_WO_Data* second = m.Waiting_WOs_Data.back().get();
    for (int i = 0; i < 480 && available_work_minutes(f.prod, 0, *second) == 0; ++i)
        f.minute();
    ASSERT_GT(available_work_minutes(f.prod, 0, *second), 0);
    ASSERT_GT(m.Units[0]->batch, 0) << "the unit finished before the second work order could start";
    RMachineUnit& unit = *m.Units[0];
    Waiting_WO* busy_request = unit.current_job->unit_request[unit.number];
    ASSERT_NE(busy_request, nullptr);
    int other_row = -1;
    for (size_t i = 0; i < m.Waiting_WOs_Data.size() && other_row < 0; ++i)
        if (m.Waiting_WOs_Data[i]->request != busy_request && m.Waiting_WOs_Data[i]->request->remaining() > 0)
            other_row = static_cast<int>(i);
    ASSERT_GE(other_row, 0);
    Waiting_WO* chosen = m.Waiting_WOs_Data[static_cast<size_t>(other_row)]->request;
    const uint16_t busy_started = busy_request->started;
    const uint16_t busy_batch = unit.batch;

    ScriptedHost host;
    std::vector<std::string> units, rows;
    int drawn = 0;
    host.OnDialog(IDD_SET_UNIT_MANUALLY, [&](HWND d) {
        units = list_rows(d, 1164);
        rows = list_rows(d, 1087);
        UpdateWindow(d);
        EXPECT_TRUE(SaveWindowPng(d, png("set_unit_manually.png").c_str()));
        SendDlgItemMessage(d, 1087, LB_SETCURSEL, static_cast<WPARAM>(other_row), 0);
        click(d, IDOK);
    });
    CSetUnitManuallyDlg dlg(f.prod, 0, f.log, [&](HDC, int machine, int, int) { drawn += machine == 0; }, nullptr);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_GT(drawn, 0) << "the machine is drawn in its frame";
    std::vector<std::string> expected_units;
    for (int i = 1; i <= m.active_units; ++i)
        expected_units.push_back(" Unit " + std::to_string(i));
    EXPECT_EQ(units, expected_units);
    EXPECT_EQ(rows.size(), m.Waiting_WOs_Data.size());
    EXPECT_TRUE(host.boxes().empty());
    // The old batch went back to its request; the chosen one runs on the unit.
    EXPECT_EQ(busy_request->started, busy_started - std::min(busy_started, busy_batch));
    EXPECT_EQ(unit.current_job->unit_request[unit.number], chosen);
    ASSERT_EQ(f.decisions.size(), 1u);
    EXPECT_EQ(f.decisions[0].key, "UnitManualy");
    EXPECT_EQ(f.decisions[0].object, "M1, Unit 1");
    EXPECT_EQ(f.decisions[0].old_value, "-----");
    EXPECT_EQ(f.decisions[0].new_value, chosen->wo->name);
    EXPECT_EQ(f.decisions[0].flag, 1);

    // A request whose every unit has started: refused, the unit keeps its batch.
    chosen->started = chosen->quantity;
    const uint16_t kept = unit.batch;
    RJob* kept_job = unit.current_job;
    Waiting_WO_Data* full = nullptr;
    for (size_t i = 0; i < m.Waiting_WOs_Data.size(); ++i)
        if (m.Waiting_WOs_Data[i]->request != chosen && full == nullptr) {
            full = m.Waiting_WOs_Data[i].get();
            other_row = static_cast<int>(i);
        }
    ASSERT_NE(full, nullptr);
    full->request->started = full->request->quantity;
    ScriptedHost refused;
    refused.Answer(IDOK, "");
    refused.OnDialog(IDD_SET_UNIT_MANUALLY, [&](HWND d) {
        SendDlgItemMessage(d, 1087, LB_SETCURSEL, static_cast<WPARAM>(other_row), 0);
        click(d, IDOK);
        EXPECT_TRUE(IsWindow(d));
        click(d, IDCANCEL);
    });
    CSetUnitManuallyDlg again(f.prod, 0, f.log, {}, nullptr);
    EXPECT_EQ(again.DoModal(), IDCANCEL);
    ASSERT_EQ(refused.boxes().size(), 1u);
    EXPECT_EQ(refused.boxes()[0].text, "Can't set this job");
    EXPECT_EQ(refused.boxes()[0].caption, "Set Unit Manualy");
    EXPECT_EQ(unit.batch, kept);
    EXPECT_EQ(unit.current_job, kept_job);
}

// Transport Policy and Work Order Kit: nothing chosen until the user picks.
TEST_F(ProductionDialogs, TwoChoiceDialogsStartUnsetAndAnswerTheChoice)
{
    struct Case {
        int id, first, second;
    };
    for (const Case c : {Case{IDD_TRANSPORT_POLICY, 1110, 1111}, Case{IDD_WORK_ORDER_KIT, 1115, 1116}}) {
        ScriptedHost host;
        bool none_checked = false;
        host.OnDialog(c.id, [&](HWND d) {
            none_checked = IsDlgButtonChecked(d, c.first) == BST_UNCHECKED &&
                           IsDlgButtonChecked(d, c.second) == BST_UNCHECKED;
            CheckDlgButton(d, c.second, BST_CHECKED);
            click(d, IDOK);
        });
        CTwoChoiceDlg dlg(c.id, nullptr);
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_TRUE(none_checked) << c.id;
        EXPECT_EQ(dlg.choice, 1) << c.id;
    }
}
