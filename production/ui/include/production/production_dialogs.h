// The Production department's dialogs. They read and change the plant
// engine; the department opens them from its window and its menus, and only
// where it has a window (headless there is no dialog).
#pragma once
#include "foundation/simdate.h"
#include "production/production_wnd.h"
#include "uikit/sim_dialog.h"
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CVornView;

inline constexpr int IDD_GET_MACHINE_NAME = 138;
inline constexpr int IDD_PRODUCTION_ORDER = 145;
inline constexpr int IDD_SET_UNIT_MANUALLY = 146;
inline constexpr int IDD_WAITING_WOS = 197;
inline constexpr int IDD_GET_COMMON_PART = 203;

// Adds Production's templates to the module's dialog table.
void register_production_templates(plat::HINSTANCE module);

// The minutes a waiting request's available work takes at its machine (its
// delivered inputs, setup included); 0 when none of it can start now.
int32_t available_work_minutes(CProductionWnd& plant, int machine, const Waiting_WO_Data& entry);

// "Waiting WO's": the work orders waiting at one machine, read only.
class CWaitingWOsDlg : public CSimDialog {
public:
    static constexpr int HELP_CONTEXT_ID = 420;
    static constexpr int LIST_ID = 1326;

    CWaitingWOsDlg(CProductionWnd& plant, int machine, plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CWaitingWOsDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;

    // One line per request waiting at the machine, in its queue order.
    static std::vector<std::string> lines(CProductionWnd& plant, int machine);

private:
    CProductionWnd& m_plant;
    int m_machine;
};

// A decision record of the department ("Prd"): key, object, old and new
// value, kind, flag. Empty: nothing is recorded.
using DecisionLog = std::function<void(const char* key, const std::string& object, const std::string& old_value,
                                       const std::string& new_value, int kind, int flag)>;

// "Get Machine Name": the machine whose name the user typed or picked.
class CGetMachineNameDlg : public CSimDialog {
public:
    CGetMachineNameDlg(CProductionWnd& plant, std::string title, plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CGetMachineNameDlg"; }
    plat::BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    // Machines position, -1 when cancelled or no machine has that name.
    int result = -1;

private:
    CProductionWnd& m_plant;
    std::string m_title;
};

// "Get Common Part Name": one of the stocked common parts.
class CGetCommonPartDlg : public CSimDialog {
public:
    CGetCommonPartDlg(CProductionWnd& plant, plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CGetCommonPartDlg"; }
    plat::BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    // Products position, -1 when cancelled.
    int result = -1;

private:
    CProductionWnd& m_plant;
};

// "Order": manual production orders, as many as the user places before Close.
class COrderDlg : public CSimDialog {
public:
    static constexpr int HELP_CONTEXT_ID = 414;

    COrderDlg(CProductionWnd& plant, DecisionLog log, plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "COrderDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;

    int orders_placed = 0;

private:
    CProductionWnd& m_plant;
    DecisionLog m_log;
    void place_order();
};

// "Set Unit Manually": a waiting request started on the unit the user picks,
// whatever that unit was doing.
class CSetUnitManuallyDlg : public CSimDialog {
public:
    // Draws the machine's box with its top-left corner at (x, y) of the device context.
    using MachineDrawer = std::function<void(plat::HDC dc, int machine, int x, int y)>;

    CSetUnitManuallyDlg(CProductionWnd& plant, int machine, DecisionLog log, MachineDrawer drawer,
                        plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CSetUnitManuallyDlg"; }
    plat::BOOL OnInitDialog() override;
    void OnOK() override;
    void OnPaint() override;

    static std::vector<std::string> lines(CProductionWnd& plant, int machine);

private:
    CProductionWnd& m_plant;
    int m_machine;
    DecisionLog m_log;
    MachineDrawer m_drawer;
};

inline constexpr int IDD_RAW_MATERIAL_RELEASE = 136;
inline constexpr int IDD_TRANSPORT_POLICY = 137;
inline constexpr int IDD_SCHEDULES_OPTIONS = 139;
inline constexpr int IDD_WORK_ORDER_KIT = 140;
inline constexpr int IDD_SET_MACHINE_POLICY = 142;
inline constexpr int IDD_PLANNING_FOR_CONTRACTS = 143;
inline constexpr int IDD_RED_LINE_LEVEL_POLICY = 144;
inline constexpr int IDD_WORK_ORDER_PLANNING = 156;

// "Raw Material Release": the release policy as a choice (0 immediate,
// 1 MRP, 2 manual, 3 DBR, 4 DBR without the capacity constraint) and its
// parameters. The caller fills the members, reads them back after IDOK.
class CRawMaterialReleaseDlg : public CSimDialog {
public:
    static constexpr int HELP_CONTEXT_ID = 415;
    // Lead days times 480 minutes must fit the 16-bit lead time.
    static constexpr int MAX_LEAD_DAYS = 136;
    static constexpr int MAX_HOURS = 32767;

    CRawMaterialReleaseDlg(std::vector<std::string> machine_names, plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CRawMaterialReleaseDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    void DoDataExchange(plat::CDataExchange* dx) override;
    void OnOK() override;

    int choice = 0;
    int lead_days = 0;
    int mrp_option = 0;
    int constraint_machine = 0;
    int shipping_buffer = 0;
    int constraint_buffer = 0;
    int assembly_buffer = 0;
    double contract_factor = 1.0;
    int red_line_hours = 0;

private:
    std::vector<std::string> m_names;
    void enable_for(int chosen);
};

// "Schedules Options": 0 Critical, 1 As possible.
class CSchedulesOptionsDlg : public CSimDialog {
public:
    CSchedulesOptionsDlg(std::string machine_name, plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CSchedulesOptionsDlg"; }
    plat::BOOL OnInitDialog() override;
    void DoDataExchange(plat::CDataExchange* dx) override;

    int option = 0;

private:
    std::string m_name;
};

// "Planning For Contracts": Marketing's contract planning by quoted lead
// time, or the days to start before shipment; the merge rule. The two
// numbers and their labels are disabled while planning is by lead time.
class CPlanningForContractsDlg : public CSimDialog {
public:
    static constexpr int HELP_CONTEXT_ID = 419;
    static constexpr int BY_QLT = 1122, DAYS_BEFORE = 1123, MERGE = 1124;
    static constexpr int DAYS_BEFORE_LABEL = 1125, MERGE_LABEL = 1126;

    CPlanningForContractsDlg(plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CPlanningForContractsDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    void DoDataExchange(plat::CDataExchange* dx) override;

    int by_qlt = 0;
    int days_before = -1;
    int merge = -1;

private:
    void show_by_qlt(bool on);
};

// "Transport Policy" (0 Partial WO, 1 Complete WO) and "Work Order Kit"
// (0 Partial kit, 1 Complete kit): -1 until a choice is made.
class CTwoChoiceDlg : public CSimDialog {
public:
    CTwoChoiceDlg(int template_id, plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CTwoChoiceDlg"; }
    void DoDataExchange(plat::CDataExchange* dx) override;

    int choice = -1;
};

// "Work Order Planning": mode 0 fixed interval, 1 weekly (day index 0 =
// Monday), 2 a day of the month; the minimum production batch.
class CWorkOrderPlanningDlg : public CSimDialog {
public:
    static constexpr int HELP_CONTEXT_ID = 417;

    CWorkOrderPlanningDlg(plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CWorkOrderPlanningDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    void DoDataExchange(plat::CDataExchange* dx) override;

    int mode = 0;
    int interval = 1;
    int day = 0;
    int min_batch = 0;

private:
    void show_mode(int shown);
};

class CGrid;

// "Set Machine Policy": each machine's dispatch rule and work-order
// acceptance in a grid of choices. A cell left as it was keeps its value.
class CSetMachinePolicyDlg : public CSimDialog {
public:
    static constexpr int HELP_CONTEXT_ID = 416;
    struct Row {
        std::string name;
        int rule = 0;         // 0 FIFO, 1 Current job, 2 Schedule, 3 EDD, 4 PRI (scenarios only)
        int acceptance = 0;   // 0 Complete WO, 1 Partial WO
    };

    CSetMachinePolicyDlg(std::vector<Row> rows, plat::CWnd* parent);
    ~CSetMachinePolicyDlg() override;
    const char* GetRuntimeClassName() const override { return "CSetMachinePolicyDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    void OnOK() override;
    void OnPaint() override;
    CGrid& grid() { return *m_grid; }

    std::vector<Row> rows;

private:
    std::unique_ptr<CGrid> m_grid;
};

// "Red line level policy": the policy's check box and one figure per
// product (its red-line time when Marketing makes to order, else its level).
class CRedLinePolicyDlg : public CSimDialog {
public:
    static constexpr int HELP_CONTEXT_ID = 418;
    struct Row {
        std::string code;
        int16_t value = 0;
    };

    CRedLinePolicyDlg(bool times, std::vector<Row> rows, plat::CWnd* parent);
    ~CRedLinePolicyDlg() override;
    const char* GetRuntimeClassName() const override { return "CRedLinePolicyDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    void DoDataExchange(plat::CDataExchange* dx) override;
    void OnOK() override;
    void OnPaint() override;
    CGrid& grid() { return *m_grid; }

    int policy = 0;
    std::vector<Row> rows;

private:
    bool m_times;
    std::unique_ptr<CGrid> m_grid;
};

inline constexpr int IDD_MANUAL_SCHEDULING = 168;
inline constexpr int IDD_SCHEDULE_END = 186;

// A machine's schedule as text lines: the unit, work order, job and the
// unit's planned load after the entry ("MRP Schedule": work order, job,
// hours, time left). An entry no longer in the queue reads as a blank line.
std::vector<std::string> schedule_lines(CProductionWnd& plant, int machine);

// "Manual Scheduling": the user orders the machine's waiting work orders
// into its schedule. Cancel puts the schedule back as it was.
class CManualSchedulingDlg : public CSimDialog {
public:
    static constexpr int HELP_CONTEXT_ID = 413;
    static constexpr int WAITING_LIST = 1087;
    static constexpr int SCHEDULE_LIST = 1167;

    CManualSchedulingDlg(CProductionWnd& plant, int machine, DecisionLog log, plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CManualSchedulingDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    void DoDataExchange(plat::CDataExchange* dx) override;
    void OnOK() override;
    void OnCancel() override;

    // 0 Critical, 1 As possible.
    int option = 0;
    std::vector<std::string> waiting_lines() const;

private:
    CProductionWnd& m_plant;
    int m_machine;
    DecisionLog m_log;
    std::vector<Waiting_WO_Data*> m_old;
    bool m_changed = false;
    RMachine& machine() const { return *m_plant.Machines[static_cast<size_t>(m_machine)]; }
    bool scheduled(const RWork_Order* wo) const;
    void refill(int select_schedule);
    void add();
    void remove(bool all);
};

// "Schedule End": what the machine whose schedule ran out does next:
// 0 set machine policy, 1 enter a new schedule, 2 pause; -1 none chosen.
class CScheduleEndDlg : public CSimDialog {
public:
    CScheduleEndDlg(std::string machine_name, plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CScheduleEndDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    void DoDataExchange(plat::CDataExchange* dx) override;

    int choice = -1;

private:
    std::string m_name;
};

inline constexpr int IDD_ASSEMBLE_TO_ORDER = 204;
inline constexpr int IDD_MAKE_OR_BUY = 211;

// "Assemble to order": whether a common part is kept in stock, and its
// maximum, order and red-line levels (edits only while it is).
class CAssembleToOrderDlg : public CSimDialog {
public:
    static constexpr int HELP_CONTEXT_ID = 422;

    CAssembleToOrderDlg(std::string title, plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CAssembleToOrderDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    void DoDataExchange(plat::CDataExchange* dx) override;

    int active = 0;
    int max_level = 0;
    int order_level = 0;
    int red_level = 0;

private:
    std::string m_title;
    void follow_active();
};

// "Make or Buy Decision": 0 the part is made, 1 it is bought.
class CMakeOrBuyDlg : public CSimDialog {
public:
    static constexpr int HELP_CONTEXT_ID = 423;

    explicit CMakeOrBuyDlg(plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CMakeOrBuyDlg"; }
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    void DoDataExchange(plat::CDataExchange* dx) override;

    int source = 0;
};

inline constexpr int IDD_DBR_PARAMS = 207;

// "DBR Params": the constraint machine (-1 none chosen), the buffers in
// hours and the contract factor (0 to 100).
class CDbrParamsDlg : public CSimDialog {
public:
    CDbrParamsDlg(std::vector<std::string> machine_names, plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CDbrParamsDlg"; }
    plat::BOOL OnInitDialog() override;
    void DoDataExchange(plat::CDataExchange* dx) override;
    void OnOK() override;

    int constraint_machine = -1;
    int shipping_buffer = 0;
    int constraint_buffer = 0;
    int assembly_buffer = 0;
    double contract_factor = 1.0;

private:
    std::vector<std::string> m_names;
};

inline constexpr int IDD_BUY_MACHINE_UNIT = 200;

// "Buy Machine Unit": a unit bought for one of the machines that can still
// take one. The list shows only those; each line keeps its machine.
class CBuyMachineUnitDlg : public CSimDialog {
public:
    CBuyMachineUnitDlg(CProductionWnd& plant, DecisionLog log, plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CBuyMachineUnitDlg"; }
    plat::BOOL OnInitDialog() override;
    void OnOK() override;

    // The machines the lines stand for, in line order.
    std::vector<int> line_machines;

private:
    CProductionWnd& m_plant;
    DecisionLog m_log;
};

inline constexpr int IDD_PRODUCT_PRIORITY = 208;

// "Product Priority": whether product priorities are used, and each
// product's priority (editable only while they are).
class CProductPriorityDlg : public CSimDialog {
public:
    CProductPriorityDlg(std::vector<std::pair<std::string, int16_t>> products, plat::CWnd* parent);
    ~CProductPriorityDlg() override;
    const char* GetRuntimeClassName() const override { return "CProductPriorityDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    void OnOK() override;
    void OnPaint() override;

    int enabled = 0;
    std::vector<std::pair<std::string, int16_t>> products;

private:
    std::unique_ptr<CGrid> m_grid;
};

inline constexpr int IDD_ADD_EXTRA_SHIFT = 220;

// "Add Extra Shift": the days from and to which a second shift is worked,
// as date texts in the clock's date order; the cost of one such day shown.
class CAddExtraShiftDlg : public CSimDialog {
public:
    CAddExtraShiftDlg(int date_order, double day_cost, plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CAddExtraShiftDlg"; }
    plat::BOOL OnInitDialog() override;
    void OnOK() override;

    SimDateTime from{}, to{};

private:
    int m_order;
    double m_cost;
};

inline constexpr int IDD_GET_WO_NUM = 183;

// "Get WO Num": a work order by its number; the dialog stays on a number no
// work order has.
class CGetWoNumDlg : public CSimDialog {
public:
    CGetWoNumDlg(CProductionWnd& plant, std::string title, plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CGetWoNumDlg"; }
    plat::BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    // Work_Orders position, -1 when cancelled.
    int result = -1;

private:
    CProductionWnd& m_plant;
    std::string m_title;
};

inline constexpr int IDD_MASTER_PRODUCTION_SCHEDULE = 109;
inline constexpr int IDD_MACHINE_INFORMATION = 147;
inline constexpr int IDD_ROUGH_CUT_CAPACITY = 152;
inline constexpr int IDD_MACHINES_UTILIZATION = 157;
inline constexpr int IDD_MACHINE_TOTAL_LOAD = 158;
inline constexpr int IDD_JOBS_INFORMATION = 159;
inline constexpr int IDD_PRODUCTION_TIMES = 160;
inline constexpr int IDD_WO_LEAD_TIME_STATISTICS = 161;

// A table of figures as the report grids show it: column titles, row titles
// and the cells' texts row by row.
struct ReportGrid {
    std::vector<std::string> columns;
    std::vector<std::string> rows;
    std::vector<std::vector<std::string>> cells;
};

// The reports' figures, apart from their windows.
std::vector<std::string> machine_information_lines(const CProductionWnd& plant, int machine);
std::string machine_rule_name(int rule);
std::vector<std::string> jobs_information_lines(const CProductionWnd& plant);
// This month's shares when more than 10 minutes were counted, else the last
// stored month's; then the month before those.
ReportGrid machines_utilization(const CProductionWnd& plant);
ReportGrid machine_total_load(CProductionWnd& plant);
ReportGrid production_times(CProductionWnd& plant);
ReportGrid wo_lead_time_statistics(const CProductionWnd& plant);

// A read-only report shown as lines of a list box with tab stops.
class CReportListDlg : public CSimDialog {
public:
    static constexpr int LIST_ID = 1158;

    CReportListDlg(int template_id, int help_context, std::string caption, std::vector<std::string> lines,
                   std::vector<int> tab_stops, plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CReportListDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;

    // Static texts set at opening: control id, text.
    std::vector<std::pair<int, std::string>> statics;
    int list_id = LIST_ID;

private:
    int m_help;
    std::string m_caption;
    std::vector<std::string> m_lines;
    std::vector<int> m_stops;
};

// A read-only report shown as a grid of figures.
class CReportGridDlg : public CSimDialog {
public:
    CReportGridDlg(int template_id, int help_context, ReportGrid figures, plat::CWnd* parent);
    ~CReportGridDlg() override;
    const char* GetRuntimeClassName() const override { return "CReportGridDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    void OnPaint() override;
    CGrid& grid() { return *m_grid; }

    // Boxes over groups of columns (the utilisation's two months): title,
    // colour, columns in each.
    struct GroupBox {
        std::string title;
        plat::COLORREF colour;
    };
    std::vector<GroupBox> groups;
    int columns_per_group = 0;
    // Row height of the grid's area (22 for most reports).
    int row_pitch = 22;
    int extra_height = 30;
    // Whether the window is fitted to its rows, its buttons at the bottom right.
    bool fit_to_rows = false;
    int fit_base = 100;

private:
    int m_template;
    int m_help;
    ReportGrid m_figures;
    std::unique_ptr<CGrid> m_grid;
};

inline constexpr int IDD_MACHINE_MATERIALS = 189;
inline constexpr int IDD_RAW_MATERIAL_RELEASE_LIST = 199;
inline constexpr int IDD_UNASSIGNED_COMMON_PARTS = 213;

// The stock lying at every machine's jobs, each machine summed up by its
// available and finishing times; stock of no work order listed again at the end.
std::vector<std::string> machine_materials_lines(CProductionWnd& plant);
// The transport jobs not yet released: material, destination, quantity, when, product, work order.
std::vector<std::string> raw_material_release_lines(const CProductionWnd& plant, int date_order);
// The common parts' finished units that belong to no work order.
ReportGrid unassigned_common_parts(const CProductionWnd& plant);

// The production orders as the Master Production Schedule lists them; sort
// 0 list order, 1 work order, 2 product, 3 due date.
struct ScheduleRow {
    std::string text;
    bool highlighted = false;
};
std::vector<ScheduleRow> master_schedule_rows(const CProductionWnd& plant, int sort, int date_order);

class CTabbedList;

// "Master Production Schedule": the production orders, sorted four ways; a
// row's work order opens in its diagram.
class CMasterScheduleDlg : public CSimDialog {
public:
    static constexpr int HELP_CONTEXT_ID = 102;
    static constexpr int LIST_ID = 1214;

    CMasterScheduleDlg(CProductionWnd& plant, int date_order, std::function<void(int wo)> show_wo, plat::CWnd* parent);
    ~CMasterScheduleDlg() override;
    const char* GetRuntimeClassName() const override { return "CMasterScheduleDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    CTabbedList& list() { return *m_list; }
    int sort = 0;

private:
    CProductionWnd& m_plant;
    int m_order;
    std::function<void(int)> m_show_wo;
    std::unique_ptr<CTabbedList> m_list;
    void fill();
    void show_work_order();
};

inline constexpr int IDD_ROUTING_DIAGRAM = 181;
inline constexpr int IDD_ALL_PRODUCTS_ROUTING = 182;
inline constexpr int IDD_WO_DIAGRAM = 184;

class Painter;
class CInfoTipWnd;

// The program's one information popup, made with the Production window;
// null while there is none (a work-order diagram then makes its own).
CInfoTipWnd* program_info_tip();
void set_program_info_tip(CInfoTipWnd* tip);

// While draw runs, the plant draws into the painter.
using PaintScope = std::function<void(Painter& painter, const std::function<void()>& draw)>;

// The design grid of a route diagram fitted to an area of the screen.
void route_diagram_scale(int width, int height, float& scale_x, float& scale_y);

// "Routing Diagram" (a product, work order none) and "WO Diagram" (a work
// order in progress, chosen in the dialog's list of work-order numbers).
class CRouteDiagramDlg : public CSimDialog {
public:
    static constexpr int WO_LIST = 1087;

    // The product's route, or with wo >= 0 (a Work_Orders position) that work order's.
    CRouteDiagramDlg(CProductionWnd& plant, int product, int wo, PaintScope scope, plat::CWnd* parent);
    ~CRouteDiagramDlg() override;
    const char* GetRuntimeClassName() const override { return "CRouteDiagramDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    void OnPaint() override;
    void OnLButtonDown(plat::UINT flags, plat::POINT pt) override;
    void OnLButtonUp(plat::UINT flags, plat::POINT pt) override;
    void OnDestroy() override;

    const std::vector<RouteInfo>& route() const { return m_route; }
    int work_order() const { return m_wo; }
    // The popup's text while the mouse is pressed on a job box.
    std::string popup_text() const;

private:
    CProductionWnd& m_plant;
    int m_product;
    int m_wo;
    PaintScope m_scope;
    std::vector<RouteInfo> m_route;
    std::unique_ptr<CInfoTipWnd> m_own_tip;
    CInfoTipWnd* m_tip = nullptr;
    float m_sx = 1, m_sy = 1;
    void collect();
    void fit();
};

// "All Products Routing": every product's diagram, one below the other, scrolled.
class CAllProductsRoutingDlg : public CSimDialog {
public:
    static constexpr int SCROLL_BAR = 1188;

    CAllProductsRoutingDlg(CProductionWnd& plant, PaintScope scope, plat::CWnd* parent);
    const char* GetRuntimeClassName() const override { return "CAllProductsRoutingDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    void OnPaint() override;
    void OnVScroll(plat::UINT code, plat::UINT pos, plat::HWND bar) override;

    // The blocks' heights, the total less the area once painted; 0 before.
    int scroll_range() const { return m_range; }
    int scroll_position() const { return m_pos; }
    int total_height() const { return m_total; }

private:
    CProductionWnd& m_plant;
    PaintScope m_scope;
    int m_range = 0, m_pos = 0, m_total = 0;
    bool m_painted = false;
    plat::RECT area() const;
};

inline constexpr int IDD_LOAD_PROFILE = 201;

// A machine's planned load day by day from today's start: the percentage of
// each working day its plan fills. Empty with the box's text in message when
// there is nothing to show.
std::vector<float> mrp_load_profile(CProductionWnd& plant, int machine, std::string& message);

// The rough-cut load of a demand over a range of working days: a quantity
// per product (typed, else Marketing's plan for the range and the held
// contracts checked), its route's minutes on each machine against the
// machine's capacity over the range.
struct RoughCut {
    std::vector<std::string> products;           // codes, in Products order
    std::vector<int> product_positions;
    std::vector<int32_t> quantities;
    ReportGrid machines;                         // Production, Setup, Break, Total
};
// typed: per Products position, -1 where nothing was typed; checked: per held contract.
RoughCut rough_cut_capacity(CProductionWnd& plant, int range_days, const std::vector<int32_t>& typed,
                            const std::vector<ContractSummary>& held, const std::vector<bool>& checked);

// "Rough Cut Capacity": the range, the held contracts to count, the
// products' quantities (editable) and the machines' load.
class CRoughCutCapacityDlg : public CSimDialog {
public:
    static constexpr int HELP_CONTEXT_ID = 409;
    static constexpr int RANGE = 1090;
    static constexpr int DAYS = 1150;
    static constexpr int MONTHS = 1244;
    static constexpr int FIRST_CONTRACT = 300;

    CRoughCutCapacityDlg(CProductionWnd& plant, plat::CWnd* parent);
    ~CRoughCutCapacityDlg() override;
    const char* GetRuntimeClassName() const override { return "CRoughCutCapacityDlg"; }
    plat::BOOL OnInitDialog() override;
    plat::BOOL OnCommand(plat::WPARAM wParam, plat::LPARAM lParam) override;
    void OnPaint() override;
    CGrid& products_grid() { return *m_products; }
    CGrid& machines_grid() { return *m_machines; }
    // Reads the range, boxes and cells, and shows the figures again.
    void recompute();
    int range_days() const { return m_days; }

private:
    CProductionWnd& m_plant;
    std::vector<ContractSummary> m_held;
    std::unique_ptr<CGrid> m_products, m_machines;
    std::vector<int32_t> m_typed;
    std::vector<std::string> m_shown;
    int m_days = 0;
    bool m_ready = false;
};
