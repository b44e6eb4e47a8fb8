// Production's read-only reports over the sample plant: their figures and
// their windows, opened offscreen.
#include "dialog_support.h"
#include "foundation/simdate.h"
#include "uikit/graph_dialog.h"
#include "uikit/grid.h"
#include "uikit/lists.h"
#include <algorithm>
#include <cstdio>

using namespace plat;
using namespace dialog_support;

namespace {

std::string caption_of(HWND d)
{
    char text[128] = {};
    GetWindowText(d, text, sizeof text);
    return text;
}

std::vector<std::vector<std::string>> grid_cells(CGrid& g)
{
    std::vector<std::vector<std::string>> cells;
    for (int r = 0; r < g.GetRowCount(); ++r) {
        cells.emplace_back();
        for (int c = 0; c < g.GetColumnCount(); ++c)
            cells.back().push_back(g.GetCellText(r, c));
    }
    return cells;
}

} // namespace

TEST_F(ProductionDialogs, MachineInformationListsOnlyTheMachinesJobs)
{
    Sim sim;
    for (size_t m = 0; m < sim.prod.Machines.size(); ++m) {
        std::vector<std::string> expected;
        for (const auto& job : sim.prod.Jobs)
            if (job && job->machine == sim.prod.Machines[m].get())
                expected.push_back(std::string("\t") + job->product->code + "\t" + job->name + "\t" +
                                   std::to_string(job->time) + "\t" +
                                   (job->time_kind == 1 ? "time per batch" : "time per part"));
        ASSERT_FALSE(expected.empty());
        EXPECT_EQ(machine_information_lines(sim.prod, static_cast<int>(m)), expected);
    }
    // M2's job runs by the batch, M1's by the part.
    EXPECT_NE(machine_information_lines(sim.prod, 1).front().find("time per batch"), std::string::npos);
    EXPECT_NE(machine_information_lines(sim.prod, 0).front().find("time per part"), std::string::npos);
    // A machine no job runs on says so.
    for (auto& job : sim.prod.Jobs)
        if (job && job->machine == sim.prod.Machines[1].get())
            job->machine = sim.prod.Machines[0].get();
    EXPECT_EQ(machine_information_lines(sim.prod, 1), std::vector<std::string>{"No jobs found"});

    sim.prod.Machines[0]->rule = RULE_SCHEDULE;
    sim.prod.Machines[0]->acceptance = 0;
    ScriptedHost host;
    std::string caption, policy, acceptance;
    std::vector<std::string> rows;
    host.OnDialog(IDD_MACHINE_INFORMATION, [&](HWND d) {
        caption = caption_of(d);
        char text[64] = {};
        GetDlgItemText(d, 1256, text, sizeof text);
        policy = text;
        GetDlgItemText(d, 1257, text, sizeof text);
        acceptance = text;
        rows = list_rows(d, CReportListDlg::LIST_ID);
        EXPECT_TRUE(SaveWindowPng(d, png("machine_information.png").c_str()));
        click(d, IDCANCEL);
    });
    CReportListDlg dlg(IDD_MACHINE_INFORMATION, 401, "Machine Information - M1", machine_information_lines(sim.prod, 0),
                       {2, 40, 65, 100}, nullptr);
    dlg.statics = {{1256, machine_rule_name(sim.prod.Machines[0]->rule)}, {1257, "Complete WO"}};
    dlg.DoModal();
    EXPECT_EQ(caption, "Machine Information - M1");
    EXPECT_EQ(policy, "Schedule");
    EXPECT_EQ(acceptance, "Complete WO");
    EXPECT_EQ(rows, machine_information_lines(sim.prod, 0));
}

TEST_F(ProductionDialogs, JobsInformationHasALinePerJob)
{
    Sim sim;
    const std::vector<std::string> lines = jobs_information_lines(sim.prod);
    size_t jobs = 0;
    for (const auto& job : sim.prod.Jobs)
        if (job) {
            const std::string expected = std::string("\t") + job->name + "\t" + job->product->code + "\t" +
                                         job->machine->name + "\t" + std::to_string(job->time) + "\tmin\t" +
                                         (job->time_kind == 1 ? "TPB" : "TPP");
            ASSERT_LT(jobs, lines.size());
            EXPECT_EQ(lines[jobs++], expected);
        }
    EXPECT_EQ(lines.size(), jobs);
}

struct UtilisationCase {
    uint32_t minutes[4];
    std::vector<std::string> expected;
};

TEST_F(ProductionDialogs, UtilisationShowsThisMonthOnlyPastTenMinutes)
{
    const UtilisationCase cases[] = {
        // This month counted: its shares, then last month's stored figures.
        {{30, 10, 0, 60}, {"30.0%", "10.0%", "0.0%", "60.0%", "50.0%", "5.0%", "5.0%", "40.0%"}},
        // Ten minutes are not enough: last month, then the month before it.
        {{5, 0, 0, 5}, {"50.0%", "5.0%", "5.0%", "40.0%", "20.0%", "1.0%", "2.0%", "77.0%"}},
    };
    for (const UtilisationCase& c : cases) {
        Sim sim;
        RMachine& m = *sim.prod.Machines[0];
        std::copy(std::begin(c.minutes), std::end(c.minutes), m.minutes);
        m.production_pct[11] = 50, m.setup_pct[11] = 5, m.break_pct[11] = 5, m.idle_pct[11] = 40;
        m.production_pct[10] = 20, m.setup_pct[10] = 1, m.break_pct[10] = 2, m.idle_pct[10] = 77;
        const ReportGrid g = machines_utilization(sim.prod);
        ASSERT_EQ(g.rows.size(), sim.prod.Machines.size());
        EXPECT_EQ(g.rows[0], "M1");
        EXPECT_EQ(g.columns.size(), 8u);
        EXPECT_EQ(g.cells[0], c.expected);
    }
}

TEST_F(ProductionDialogs, LeadTimeStatisticsWithoutDataShowDashes)
{
    Sim sim;
    sim.prod.Products[0]->lead_time_mean = 37;
    sim.prod.Products[0]->lead_time_std = 4;
    const ReportGrid g = wo_lead_time_statistics(sim.prod);
    ASSERT_EQ(g.rows.size(), 2u);
    EXPECT_EQ(g.rows, (std::vector<std::string>{"A1", "U1"}));
    EXPECT_EQ(g.cells[0], (std::vector<std::string>{"37", "4"}));
    EXPECT_EQ(g.cells[1], (std::vector<std::string>{"--------", "--------"}));

    // The window fits its rows and shows the same figures.
    ScriptedHost host;
    std::vector<std::vector<std::string>> shown;
    int client_height = 0;
    CReportGridDlg dlg(IDD_WO_LEAD_TIME_STATISTICS, 410, g, nullptr);
    dlg.fit_to_rows = true;
    host.OnDialog(IDD_WO_LEAD_TIME_STATISTICS, [&](HWND d) {
        shown = grid_cells(dlg.grid());
        RECT r{};
        GetClientRect(d, &r);
        client_height = r.bottom - r.top;
        EXPECT_TRUE(SaveWindowPng(d, png("wo_lead_time_statistics.png").c_str()));
        click(d, IDCANCEL);
    });
    dlg.DoModal();
    EXPECT_EQ(shown, g.cells);
    EXPECT_EQ(client_height, 2 * 22 + 100);
}

TEST_F(ProductionDialogs, TotalLoadAndProductionTimesInTheirUnits)
{
    Floor f;
    ASSERT_TRUE(f.run_until_waiting(0, 1));
    const ReportGrid load = machine_total_load(f.prod);
    ASSERT_EQ(load.rows.size(), 2u);
    for (size_t i = 0; i < load.rows.size(); ++i) {
        int32_t available = 0, existing = 0;
        f.prod.compute_machine_load(static_cast<int>(i), available, existing);
        char a[32], e[32];
        std::snprintf(e, sizeof e, "%d:%02d", existing / 60, existing % 60);
        std::snprintf(a, sizeof a, "%d:%02d", available / 60, available % 60);
        EXPECT_EQ(load.cells[i], (std::vector<std::string>{e, a}));
    }
    int32_t available = 0, existing = 0;
    f.prod.compute_machine_load(0, available, existing);
    EXPECT_GT(existing, 0) << "work waits at M1";

    // One unit of A1 runs through J1 (5 min) and J2 (40 min) once each; J3 belongs to U1.
    const ReportGrid times = production_times(f.prod);
    ASSERT_EQ(times.rows.size(), 2u);
    EXPECT_EQ(times.cells[0][0],
              std::to_string(static_cast<int32_t>(f.prod.evaluate_item({KIND_PRODUCT, 0, 1}, 3, 0))));
    EXPECT_GT(std::stoi(times.cells[0][0]), 0);

    ScriptedHost host;
    std::string caption;
    std::vector<std::vector<std::string>> shown;
    CReportGridDlg dlg(IDD_MACHINE_TOTAL_LOAD, 404, load, nullptr);
    host.OnDialog(IDD_MACHINE_TOTAL_LOAD, [&](HWND d) {
        caption = caption_of(d);
        shown = grid_cells(dlg.grid());
        EXPECT_TRUE(SaveWindowPng(d, png("machine_total_load.png").c_str()));
        click(d, IDCANCEL);
    });
    dlg.DoModal();
    EXPECT_EQ(caption, "Machine Total Load (in hours)");
    EXPECT_EQ(shown, load.cells);
}

TEST_F(ProductionDialogs, MachineMaterialsListsStockAndSumsUpEachMachine)
{
    {
        Sim sim;
        EXPECT_EQ(machine_materials_lines(sim.prod), std::vector<std::string>{"No Materials Near Machine"});
    }
    Floor f;
    ASSERT_TRUE(f.run_until_waiting(0, 1));
    const std::vector<std::string> lines = machine_materials_lines(f.prod);
    // Every machine closes with its summary and a rule; the summary's finish is the forward plan's.
    for (size_t m = 0; m < f.prod.Machines.size(); ++m) {
        int32_t available = 0, finish = 0;
        f.prod.compute_machine_load(static_cast<int>(m), available, finish);
        char tail[40];
        std::snprintf(tail, sizeof tail, "Finish Time - %4d:%02d", finish / 60, finish % 60);
        const std::string head = std::string("\t") + f.prod.Machines[m]->name + " - Avail. Time - ";
        const auto at = std::find_if(lines.begin(), lines.end(),
                                     [&](const std::string& l) { return l.rfind(head, 0) == 0; });
        ASSERT_NE(at, lines.end()) << head;
        EXPECT_NE(at->find(tail), std::string::npos) << *at;
        ASSERT_NE(at + 1, lines.end());
        EXPECT_EQ(*(at + 1), std::string(120, '-'));
    }
    // U1's seeded stock at J3 belongs to no work order.
    const std::string u1 = "\tM1\tJ3\t" + std::to_string(f.prod.Jobs[2]->outputs.front().quantity) + "\tJ3\t***\tOUTPUT";
    EXPECT_NE(std::find(lines.begin(), lines.end(), u1), lines.end());

    // Two lines of no work order are listed again at the end, last first.
    RJob& j1 = *f.prod.Jobs[0];
    j1.input_stock.push_back(Input_Stock{nullptr, KIND_RAW, 0, 7, 0, 0});
    const std::vector<std::string> again = machine_materials_lines(f.prod);
    const std::string xa = "\tM1\tJ1\t7\tXA\t***\tINPUT";
    ASSERT_GE(again.size(), 4u);
    EXPECT_EQ(again[again.size() - 2], u1);
    EXPECT_EQ(again.back(), xa);
    EXPECT_EQ(again[again.size() - 3], "");
    EXPECT_EQ(again[again.size() - 4], std::string(120, '-'));
}

TEST_F(ProductionDialogs, ReleaseListShowsWhenEachHeldMaterialMoves)
{
    Floor f;
    ASSERT_TRUE(f.run_until_waiting(0, 1));
    RWork_Order* wo = f.prod.Work_Orders.front().get();
    auto& jobs = f.prod.transport->Trans_Jobs;
    jobs.clear();
    const int32_t now = static_cast<int32_t>(f.host.tick());
    for (int32_t release : {-1, -2, now, now + 2 * 480 + 5}) {
        auto t = std::make_unique<RTransportJob>();
        t->material_kind = KIND_RAW;
        t->material_index = 1;
        t->dest_index = 0;
        t->quantity = 12;
        t->requesting_wo = wo;
        t->release = release;
        jobs.push_back(std::move(t));
    }
    const SimStamp in_two = f.host.add_work_days(f.host.work_day_start(), 2);
    const std::string date = date_text(SimDateTime{in_two.year, in_two.month, in_two.day, 8, 0}, 0);
    const std::string tail = std::string("\tA1\t") + wo->name;
    EXPECT_EQ(raw_material_release_lines(f.prod, 0),
              (std::vector<std::string>{"\tXB\tJ1\t12\t*********" + tail, "\tXB\tJ1\t12\tImmediate" + tail,
                                        "\tXB\tJ1\t12\t" + date + tail}));
    EXPECT_NE(date, date_text(SimDateTime{f.host.now().year, f.host.now().month, f.host.now().day, 8, 0}, 0));
}

TEST_F(ProductionDialogs, UnassignedCommonPartsFitTheirWindow)
{
    Sim sim;
    sim.seed_u1(23);
    const ReportGrid g = unassigned_common_parts(sim.prod);
    EXPECT_EQ(g.rows, std::vector<std::string>{"U1"});
    EXPECT_EQ(g.cells, (std::vector<std::vector<std::string>>{{"23"}}));

    ScriptedHost host;
    std::vector<std::vector<std::string>> shown;
    int client_height = 0;
    CReportGridDlg dlg(IDD_UNASSIGNED_COMMON_PARTS, 0, g, nullptr);
    dlg.extra_height = 20;
    dlg.fit_to_rows = true;
    dlg.fit_base = 90;
    host.OnDialog(IDD_UNASSIGNED_COMMON_PARTS, [&](HWND d) {
        shown = grid_cells(dlg.grid());
        RECT r{};
        GetClientRect(d, &r);
        client_height = r.bottom - r.top;
        EXPECT_TRUE(SaveWindowPng(d, png("unassigned_common_parts.png").c_str()));
        click(d, IDCANCEL);
    });
    dlg.DoModal();
    EXPECT_EQ(shown, g.cells);
    EXPECT_EQ(client_height, 22 + 90);
}

TEST_F(ProductionDialogs, MasterScheduleSpreadsWhatArrivedOverTheOrders)
{
    Floor f;
    ASSERT_TRUE(f.run_until_waiting(0, 1));
    ASSERT_EQ(f.prod.prd_orders.size(), 2u);
    RWork_Order* wo = f.prod.prd_orders[0]->work_order;
    ASSERT_NE(wo, nullptr);
    ASSERT_EQ(f.prod.prd_orders[1]->work_order, wo) << "both orders of A1 go into one work order";
    // Eight units reached the final job: the first order (6) is done, the second has 2 left.
    RJob& final = *f.prod.job(wo->final_job());
    Waiting_WO* request = nullptr;
    for (auto& r : final.requests)
        if (r->wo == wo)
            request = r.get();
    ASSERT_NE(request, nullptr);
    request->finished = 8;
    // A manual order not yet planned, and a reorder of U1.
    f.prod.add_order(-1, 0, 3, ORDER_MANUAL, KIND_PRODUCT, 2);
    f.prod.add_order(-1, 1, 9, ORDER_REORDER, KIND_PRODUCT, 1);
    ASSERT_EQ(f.prod.prd_orders.size(), 4u);
    for (size_t i = 2; i < 4; ++i)
        ASSERT_EQ(f.prod.prd_orders[i]->work_order, nullptr);

    auto date = [&](const SimStamp& s) { return date_text(SimDateTime{s.year, s.month, s.day, 8, 0}, 0); };
    const ProductionOrder& first = *f.prod.prd_orders[0];
    const ProductionOrder& reorder = *f.prod.prd_orders[3];
    const std::string received = date(first.order_date);
    const std::string due = date(f.host.add_work_days(first.order_date, 4));
    const std::string w = wo->name;
    const std::string today = date(reorder.order_date);
    const std::vector<std::string> by_time = {
        "\tA1\t6\t0\t" + received + "\t" + due + "\t" + w,
        "\tA1\t4\t2\t" + received + "\t" + due + "\t" + w,
        "\tA1\t3\t3\t" + today + "\t********\t****",
        "\tU1\t9\t9\t" + today + "\t" + today + "\t****",
    };
    auto texts = [](const std::vector<ScheduleRow>& rows) {
        std::vector<std::string> out;
        for (const ScheduleRow& r : rows)
            out.push_back(r.text);
        return out;
    };
    EXPECT_EQ(texts(master_schedule_rows(f.prod, 0, 0)), by_time);
    // By work order: those without one after, in list order.
    EXPECT_EQ(texts(master_schedule_rows(f.prod, 1, 0)), by_time);
    // By product: A1's three, then U1.
    EXPECT_EQ(texts(master_schedule_rows(f.prod, 2, 0)), by_time);
    // By due date: U1's today first, the manual order last.
    EXPECT_EQ(texts(master_schedule_rows(f.prod, 3, 0)),
              (std::vector<std::string>{by_time[3], by_time[0], by_time[1], by_time[2]}));
    // A work order with a priority marks its rows.
    wo->priority = 5;
    const auto marked = master_schedule_rows(f.prod, 0, 0);
    EXPECT_TRUE(marked[0].highlighted);
    EXPECT_TRUE(marked[1].highlighted);
    EXPECT_FALSE(marked[3].highlighted);

    // The window: the sort buttons re-sort; Show WO without a row asks for one,
    // on an order without a work order says so, on a planned row opens it.
    ScriptedHost host;
    std::vector<int> shown;
    std::vector<std::string> rows_by_due;
    host.Answer(IDOK, "VORNS Application", "No Item selected!");
    host.Answer(IDOK, "", "WO not created yet for this order");
    CMasterScheduleDlg dlg(f.prod, 0, [&](int i) { shown.push_back(i); }, nullptr);
    host.OnDialog(IDD_MASTER_PRODUCTION_SCHEDULE, [&](HWND d) {
        click(d, 1089);
        for (int r = 0; r < dlg.list().GetRowCount(); ++r)
            rows_by_due.push_back(dlg.list().GetRowText(r));
        EXPECT_TRUE(SaveWindowPng(d, png("master_production_schedule.png").c_str()));
        click(d, 1259);
        dlg.list().SetCurSel(3);
        click(d, 1259);
        dlg.list().SetCurSel(1);
        click(d, 1259);
        click(d, IDCANCEL);
    });
    dlg.DoModal();
    EXPECT_EQ(rows_by_due, texts(master_schedule_rows(f.prod, 3, 0)));
    EXPECT_EQ(shown, std::vector<int>{0});
    ASSERT_EQ(host.boxes().size(), 2u);
    EXPECT_EQ(host.boxes()[0].text, "No Item selected!");
    EXPECT_EQ(host.boxes()[0].caption, "VORNS Application");
    EXPECT_EQ(host.boxes()[1].text, "WO not created yet for this order");

    Sim empty;
    EXPECT_EQ(texts(master_schedule_rows(empty.prod, 0, 0)), std::vector<std::string>{" No orders"});
}

TEST_F(ProductionDialogs, LoadProfileOnePointPerWorkingDayOfThePlan)
{
    {
        Sim sim;
        std::string message;
        // Nothing planned at the session's start: no load.
        EXPECT_TRUE(mrp_load_profile(sim.prod, 0, message).empty());
        EXPECT_EQ(message, "No MRP Load");
        // A day on, the empty plan ends before today: nothing collected yet.
        sim.host.ticks = 480 + 17;
        EXPECT_TRUE(mrp_load_profile(sim.prod, 0, message).empty());
        EXPECT_EQ(message, "No data collected yet for displaying the MRP load");
    }
    // Under MRP the explosion plans each waiting record's start.
    Floor f;
    ASSERT_TRUE(f.run_until_waiting(0, 1));
    f.prod.release_policy = 1;
    f.prod.do_MRP();
    int shown = 0;
    for (int m = 0; m < 2; ++m) {
        std::string message;
        const std::vector<float> y = mrp_load_profile(f.prod, m, message);
        RParallelFPT table(f.prod, m);
        for (const auto& e : f.prod.Machines[static_cast<size_t>(m)]->Waiting_WOs_Data)
            table.add_waiting_data(e.get());
        const int32_t start = static_cast<int32_t>(f.host.tick()) / 480 * 480;
        if (y.empty()) {
            EXPECT_FALSE(message.empty());
            continue;
        }
        ++shown;
        EXPECT_EQ(message, "");
        ASSERT_EQ(y.size(), static_cast<size_t>((table.plan_end() - start + 479) / 480));
        bool any = false;
        for (size_t i = 0; i < y.size(); ++i) {
            EXPECT_FLOAT_EQ(y[i], table.load_percent(start + static_cast<int32_t>(i) * 480, 480));
            any = any || y[i] > 0;
        }
        EXPECT_TRUE(any);
        // The graph of the points, as the command shows it.
        std::vector<float> x(y.size());
        for (size_t i = 0; i < x.size(); ++i)
            x[i] = static_cast<float>(i);
        CGraphDialog graph(IDD_LOAD_PROFILE, nullptr);
        graph.SetTitle((std::string("Load Profile - ") + f.prod.Machines[static_cast<size_t>(m)]->name).c_str());
        graph.SetYCaption("Percentage");
        graph.AddSeries(x.data(), y.data(), static_cast<int>(y.size()), FALSE, 0xFF0000, 2, 0);
        ScriptedHost host;
        host.OnDialog(IDD_LOAD_PROFILE, [&](HWND d) {
            EXPECT_TRUE(SaveWindowPng(d, png("load_profile.png").c_str()));
            click(d, IDCANCEL);
        });
        graph.DoModal();
        EXPECT_EQ(graph.series_count(), 1);
    }
    EXPECT_GE(shown, 1) << "the plan loads some machine";
}

TEST_F(ProductionDialogs, RoughCutLoadsTheMachinesWithTheRangesDemand)
{
    Sim sim;
    CProductionWnd& p = sim.prod;
    p.batch_size = 0;
    p.min_wo_quantity = 10;
    RMachine& m1 = *p.Machines[0];
    m1.production_pct_last = 0;
    // A1 only: U1 has no Marketing counterpart. 23 typed rounds up to 30 (the minimum order).
    RoughCut rc = rough_cut_capacity(p, 10, {23, -1}, {}, {});
    ASSERT_EQ(rc.products, std::vector<std::string>{"A1"});
    EXPECT_EQ(rc.quantities, std::vector<int32_t>{30});
    // M1 runs J1 (5 min a part) and, through the stocked U1, J3 (3 min): 240 minutes.
    auto pct = [](double v) {
        char t[32];
        std::snprintf(t, sizeof t, "%0.1f%%", v);
        return std::string(t);
    };
    EXPECT_EQ(rc.machines.cells[0][0], pct(240.0 * 100 / (10.0 * m1.active_units * 480)));
    EXPECT_NE(rc.machines.cells[1][0], "0.0%") << "J2 loads M2";
    // Nothing stored for last month: no setup or break share.
    EXPECT_EQ(rc.machines.cells[0][1], "0.0%");
    // Last month's setup and break against its production scale this load.
    m1.production_pct_last = 50;
    m1.setup_pct_last = 10;
    m1.break_pct_last = 5;
    rc = rough_cut_capacity(p, 10, {23, -1}, {}, {});
    const double load = 240.0 * 100 / (10.0 * m1.active_units * 480);
    EXPECT_EQ(rc.machines.cells[0][1], pct(load * 0.2));
    EXPECT_EQ(rc.machines.cells[0][2], pct(load * 0.1));
    char total[32];
    std::snprintf(total, sizeof total, "%5.1f%%", load * 1.3);
    EXPECT_EQ(rc.machines.cells[0][3], total);

    // Without a typed figure: Marketing's plan over the range (10 of 22 days of 40) and the checked held contracts.
    sim.marketing.plan[0][0] = 44;
    ContractSummary held;
    held.held = true;
    held.lines.push_back(ContractLine{0, 0, 7, 0, "A1-7"});
    rc = rough_cut_capacity(p, 11, {-1, -1}, {held}, {true});
    EXPECT_EQ(rc.quantities, std::vector<int32_t>{30}) << "22 planned + 7 held, rounded up";
    rc = rough_cut_capacity(p, 11, {-1, -1}, {held}, {false});
    EXPECT_EQ(rc.quantities, std::vector<int32_t>{30}) << "22 planned, rounded up";
    rc = rough_cut_capacity(p, 5, {-1, -1}, {held}, {false});
    EXPECT_EQ(rc.quantities, std::vector<int32_t>{10}) << "10 planned";

    // A unit on its way counts from its delivery on, never below nothing.
    RMachine& machine = *p.Machines[0];
    auto unit = std::make_unique<RMachineUnit>(&machine);
    unit->state = UNIT_ON_DELIVERY;
    unit->minutes_left = 1;   // a month: 22 working days
    machine.Units.push_back(std::move(unit));
    rc = rough_cut_capacity(p, 30, {23, -1}, {}, {});
    EXPECT_EQ(rc.machines.cells[0][0], pct(240.0 * 100 / ((30.0 * m1.active_units + 8) * 480)));
    rc = rough_cut_capacity(p, 10, {23, -1}, {}, {});
    EXPECT_EQ(rc.machines.cells[0][0], pct(240.0 * 100 / (10.0 * m1.active_units * 480)));

    // Retired products are left out.
    sim.marketing.retired[0] = true;
    EXPECT_TRUE(rough_cut_capacity(p, 10, {23, -1}, {}, {}).products.empty());
    sim.marketing.retired[0] = false;

    // The window: six months at opening; a range outside 1..999 days keeps the figures.
    ScriptedHost host;
    CRoughCutCapacityDlg dlg(p, nullptr);
    int opening = 0, after_zero = 0, after_days = 0;
    std::string typed_quantity;
    host.OnDialog(IDD_ROUGH_CUT_CAPACITY, [&](HWND d) {
        opening = dlg.range_days();
        SetDlgItemText(d, CRoughCutCapacityDlg::RANGE, "0");
        after_zero = dlg.range_days();
        SetDlgItemText(d, CRoughCutCapacityDlg::RANGE, "1000");
        CheckRadioButton(d, CRoughCutCapacityDlg::DAYS, CRoughCutCapacityDlg::MONTHS, CRoughCutCapacityDlg::DAYS);
        click(d, CRoughCutCapacityDlg::DAYS);
        SetDlgItemText(d, CRoughCutCapacityDlg::RANGE, "15");
        after_days = dlg.range_days();
        dlg.products_grid().SetCellText(0, 0, "41");
        dlg.recompute();
        typed_quantity = dlg.products_grid().GetCellText(0, 0);
        EXPECT_TRUE(SaveWindowPng(d, png("rough_cut_capacity.png").c_str()));
        click(d, IDCANCEL);
    });
    dlg.DoModal();
    EXPECT_EQ(opening, 6 * 22);
    EXPECT_EQ(after_zero, 6 * 22);
    EXPECT_EQ(after_days, 15);
    EXPECT_EQ(typed_quantity, "50") << "41 typed, rounded up to the minimum order";
}
