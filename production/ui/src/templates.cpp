// Production's dialog templates.
#include "production/production_dialogs.h"
#include "plat/controls.h"
#include "plat/res.h"
#include "plat/uihost.h"
#include "plat/window.h"
#include "uikit/templates.h"

using namespace plat;

namespace {

constexpr DWORD CHILD = WS_CHILD | WS_VISIBLE;
constexpr DWORD DLG = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
constexpr DWORD LIST = CHILD | WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT;

// The header statics stand where the list's columns start: the dialog sets
// the list's tab stops from them.
const DlgItemTemplate kWaitingWOsItems[] = {
    {"STATIC", 1087, "WO", CHILD, 0, 14, 10, 44, 16},
    {"STATIC", 1327, "Job", CHILD, 0, 66, 10, 44, 16},
    {"STATIC", 1328, "Prod.", CHILD, 0, 118, 10, 44, 16},
    {"STATIC", 1329, "Qty.", CHILD, 0, 170, 10, 44, 16},
    {"STATIC", 1330, "Left", CHILD, 0, 222, 10, 44, 16},
    {"STATIC", 1331, "Avail.", CHILD, 0, 274, 10, 60, 16},
    {"LISTBOX", CWaitingWOsDlg::LIST_ID, "", LIST, 0, 10, 28, 360, 180},
    {"BUTTON", IDCANCEL, "&Close", CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 190, 218, 80, 24},
    {"BUTTON", 3, "&Help", CHILD | WS_TABSTOP, 0, 280, 218, 80, 24},
};

const DlgItemTemplate kGetMachineNameItems[] = {
    {"STATIC", -1, "Enter machine name:", CHILD, 0, 12, 14, 120, 18},
    {"COMBOBOX", 1112, "", CHILD | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN, 0, 134, 10, 100, 160},
    {"BUTTON", IDOK, "&OK", CHILD | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, 30, 50, 80, 24},
    {"BUTTON", IDCANCEL, "&Cancel", CHILD | WS_TABSTOP, 0, 140, 50, 80, 24},
};

const DlgItemTemplate kGetCommonPartItems[] = {
    {"STATIC", -1, "Enter common part name:", CHILD, 0, 12, 14, 140, 18},
    {"COMBOBOX", 1112, "", CHILD | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN, 0, 154, 10, 80, 160},
    {"BUTTON", IDOK, "&OK", CHILD | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, 30, 50, 80, 24},
    {"BUTTON", IDCANCEL, "&Cancel", CHILD | WS_TABSTOP, 0, 140, 50, 80, 24},
};

const DlgItemTemplate kOrderItems[] = {
    {"STATIC", -1, "Product:", CHILD, 0, 12, 10, 80, 16},
    {"LISTBOX", 1088, "", CHILD | WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 0, 12, 28, 90, 110},
    {"STATIC", -1, "Quantity:", CHILD, 0, 120, 28, 70, 16},
    {"EDIT", 1130, "", CHILD | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 0, 120, 46, 80, 22},
    {"BUTTON", 1128, "&Order", CHILD | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, 214, 28, 80, 24},
    {"BUTTON", IDCANCEL, "&Close", CHILD | WS_TABSTOP, 0, 214, 60, 80, 24},
    {"BUTTON", 3, "&Help", CHILD | WS_TABSTOP, 0, 214, 92, 80, 24},
};

const DlgItemTemplate kSetUnitManuallyItems[] = {
    // The machine is drawn on the dialog where the hidden frame stands.
    {"STATIC", -1, "Machine", CHILD, 0, 10, 6, 120, 16},
    {"STATIC", 1235, "", WS_CHILD, 0, 10, 24, 250, 132},
    {"STATIC", -1, "Unit:", CHILD, 0, 272, 10, 60, 16},
    {"LISTBOX", 1164, "", CHILD | WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 0, 272, 28, 110, 128},
    {"STATIC", -1, "WO", CHILD, 0, 16, 164, 40, 16},
    {"STATIC", -1, "Job", CHILD, 0, 62, 164, 40, 16},
    {"STATIC", -1, "Prod.", CHILD, 0, 110, 164, 40, 16},
    {"STATIC", -1, "Qty.", CHILD, 0, 160, 164, 40, 16},
    {"STATIC", -1, "Left", CHILD, 0, 208, 164, 40, 16},
    {"STATIC", -1, "Avail.", CHILD, 0, 256, 164, 40, 16},
    {"LISTBOX", 1087, "", LIST, 0, 10, 182, 372, 120},
    {"BUTTON", IDOK, "OK", CHILD | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, 200, 312, 80, 24},
    {"BUTTON", IDCANCEL, "Cancel", CHILD | WS_TABSTOP, 0, 296, 312, 80, 24},
};

constexpr DWORD RADIO = CHILD | WS_TABSTOP | BS_AUTORADIOBUTTON;
constexpr DWORD FIRST_RADIO = RADIO | WS_GROUP;
constexpr DWORD NUMBER = CHILD | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;

const DlgItemTemplate kRawMaterialReleaseItems[] = {
    {"BUTTON", -1, "Policy", CHILD | BS_GROUPBOX, 0, 10, 6, 230, 150},
    {"BUTTON", 1105, "&Immediate release", FIRST_RADIO, 0, 22, 26, 200, 20},
    {"BUTTON", 1100, "&MRP", RADIO, 0, 22, 50, 200, 20},
    {"BUTTON", 1106, "M&anual release", RADIO, 0, 22, 74, 200, 20},
    {"BUTTON", 1339, "&DBR", RADIO, 0, 22, 98, 200, 20},
    {"BUTTON", 1325, "DBR &without capacity constraint", RADIO, 0, 22, 122, 210, 20},
    {"BUTTON", -1, "Parameters", CHILD | BS_GROUPBOX | WS_GROUP, 0, 250, 6, 300, 230},
    {"STATIC", 1107, "Default MRP lead time:", CHILD, 0, 262, 28, 150, 18},
    {"EDIT", 1108, "", NUMBER, 0, 416, 24, 60, 22},
    {"STATIC", 1109, "Days", CHILD, 0, 482, 28, 50, 18},
    {"BUTTON", 1271, "Work Order for U1 ...", CHILD | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 262, 52, 260, 20},
    {"STATIC", -1, "Constraint machine:", CHILD, 0, 262, 82, 150, 18},
    {"COMBOBOX", 1335, "", CHILD | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 416, 78, 90, 160},
    {"STATIC", -1, "Shipping buffer:", CHILD, 0, 262, 110, 150, 18},
    {"EDIT", 1332, "", NUMBER, 0, 416, 106, 60, 22},
    {"STATIC", -1, "Constraint buffer:", CHILD, 0, 262, 134, 150, 18},
    {"EDIT", 1333, "", NUMBER, 0, 416, 130, 60, 22},
    {"STATIC", -1, "Assembly buffer:", CHILD, 0, 262, 158, 150, 18},
    {"EDIT", 1334, "", NUMBER, 0, 416, 154, 60, 22},
    {"STATIC", -1, "Contract Factor:", CHILD, 0, 262, 182, 150, 18},
    {"EDIT", 1240, "", NUMBER, 0, 416, 178, 60, 22},
    {"STATIC", -1, "Red Line Hours:", CHILD, 0, 262, 206, 150, 18},
    {"EDIT", 1241, "", NUMBER, 0, 416, 202, 60, 22},
    {"BUTTON", IDOK, "OK", CHILD | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, 10, 246, 80, 24},
    {"BUTTON", IDCANCEL, "Cancel", CHILD | WS_TABSTOP, 0, 100, 246, 80, 24},
    {"BUTTON", 3, "&Help", CHILD | WS_TABSTOP, 0, 190, 246, 80, 24},
};

const DlgItemTemplate kTransportPolicyItems[] = {
    {"BUTTON", -1, "Policy", CHILD | BS_GROUPBOX, 0, 10, 6, 180, 76},
    {"BUTTON", 1110, "&Partial WO", FIRST_RADIO, 0, 22, 26, 150, 20},
    {"BUTTON", 1111, "&Complete WO", RADIO, 0, 22, 52, 150, 20},
    {"BUTTON", IDOK, "OK", CHILD | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, 10, 92, 80, 24},
    {"BUTTON", IDCANCEL, "Cancel", CHILD | WS_TABSTOP, 0, 110, 92, 80, 24},
};

const DlgItemTemplate kWorkOrderKitItems[] = {
    {"BUTTON", -1, "Policy", CHILD | BS_GROUPBOX, 0, 10, 6, 180, 76},
    {"BUTTON", 1115, "&Partial kit", FIRST_RADIO, 0, 22, 26, 150, 20},
    {"BUTTON", 1116, "&Complete kit", RADIO, 0, 22, 52, 150, 20},
    {"BUTTON", IDOK, "OK", CHILD | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, 10, 92, 80, 24},
    {"BUTTON", IDCANCEL, "Cancel", CHILD | WS_TABSTOP, 0, 110, 92, 80, 24},
};

const DlgItemTemplate kSchedulesOptionsItems[] = {
    {"BUTTON", -1, "Options", CHILD | BS_GROUPBOX, 0, 10, 6, 180, 76},
    {"BUTTON", 1113, "C&ritical", FIRST_RADIO, 0, 22, 26, 150, 20},
    {"BUTTON", 1114, "&As possible", RADIO, 0, 22, 52, 150, 20},
    {"BUTTON", IDOK, "OK", CHILD | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, 10, 92, 80, 24},
    {"BUTTON", IDCANCEL, "Cancel", CHILD | WS_TABSTOP, 0, 110, 92, 80, 24},
};

const DlgItemTemplate kPlanningForContractsItems[] = {
    {"BUTTON", CPlanningForContractsDlg::BY_QLT, "&Start production according to QLT",
     CHILD | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 12, 10, 260, 20},
    {"STATIC", CPlanningForContractsDlg::DAYS_BEFORE_LABEL, "Days to start before shipment:", CHILD, 0, 12, 44, 190,
     18},
    {"EDIT", CPlanningForContractsDlg::DAYS_BEFORE, "", NUMBER, 0, 206, 40, 60, 22},
    {"STATIC", CPlanningForContractsDlg::MERGE_LABEL, "&Merge shipments rule (days):", CHILD, 0, 12, 72, 190, 18},
    {"EDIT", CPlanningForContractsDlg::MERGE, "", NUMBER, 0, 206, 68, 60, 22},
    {"BUTTON", IDOK, "OK", CHILD | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, 10, 104, 80, 24},
    {"BUTTON", IDCANCEL, "Cancel", CHILD | WS_TABSTOP, 0, 100, 104, 80, 24},
    {"BUTTON", 3, "&Help", CHILD | WS_TABSTOP, 0, 190, 104, 80, 24},
};

const DlgItemTemplate kWorkOrderPlanningItems[] = {
    {"BUTTON", -1, "Planning frequency", CHILD | BS_GROUPBOX, 0, 10, 6, 170, 76},
    {"BUTTON", 1146, "&Fixed interval", FIRST_RADIO, 0, 22, 26, 140, 20},
    {"BUTTON", 1147, "&Weekly", RADIO, 0, 22, 52, 140, 20},
    {"BUTTON", -1, "Interval", CHILD | BS_GROUPBOX | WS_GROUP, 0, 190, 6, 220, 76},
    {"STATIC", 1153, "Fixed interval:", CHILD, 0, 200, 28, 100, 18},
    {"EDIT", 1149, "", NUMBER, 0, 304, 24, 50, 22},
    {"COMBOBOX", 1150, "", CHILD | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 304, 52, 96, 160},
    {"BUTTON", -1, "Batching policy", CHILD | BS_GROUPBOX, 0, 10, 88, 400, 50},
    {"STATIC", -1, "Minimum production batch:", CHILD, 0, 22, 110, 170, 18},
    {"EDIT", 1152, "", NUMBER, 0, 200, 106, 60, 22},
    {"BUTTON", IDOK, "OK", CHILD | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, 10, 148, 80, 24},
    {"BUTTON", IDCANCEL, "Cancel", CHILD | WS_TABSTOP, 0, 100, 148, 80, 24},
    {"BUTTON", 3, "&Help", CHILD | WS_TABSTOP, 0, 190, 148, 80, 24},
};

const DlgItemTemplate kSetMachinePolicyItems[] = {
    {"STATIC", 1251, "", WS_CHILD, 0, 10, 13, 330, 150},
    {"BUTTON", IDOK, "OK", CHILD | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, 10, 176, 80, 24},
    {"BUTTON", IDCANCEL, "Cancel", CHILD | WS_TABSTOP, 0, 100, 176, 80, 24},
    {"BUTTON", 3, "&Help", CHILD | WS_TABSTOP, 0, 190, 176, 80, 24},
};

const DlgItemTemplate kRedLinePolicyItems[] = {
    {"BUTTON", 1127, "Red line level policy", CHILD | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 12, 8, 200, 20},
    {"STATIC", 1251, "", WS_CHILD, 0, 12, 36, 200, 150},
    {"BUTTON", IDOK, "OK", CHILD | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, 230, 36, 80, 24},
    {"BUTTON", IDCANCEL, "Cancel", CHILD | WS_TABSTOP, 0, 230, 68, 80, 24},
    {"BUTTON", 3, "&Help", CHILD | WS_TABSTOP, 0, 230, 100, 80, 24},
};

const DlgItemTemplate kManualSchedulingItems[] = {
    {"STATIC", -1, "Current WO's:", CHILD, 0, 10, 6, 120, 16},
    {"STATIC", 1220, "WO", CHILD, 0, 24, 24, 40, 16},
    {"STATIC", 1305, "Job", CHILD, 0, 52, 24, 40, 16},
    {"STATIC", 1215, "Prod.", CHILD, 0, 96, 24, 40, 16},
    {"STATIC", 1216, "Qty.", CHILD, 0, 142, 24, 40, 16},
    {"STATIC", 1217, "Left", CHILD, 0, 186, 24, 40, 16},
    {"STATIC", 1306, "Avail.", CHILD, 0, 232, 24, 50, 16},
    {"LISTBOX", 1087, "", LIST, 0, 10, 42, 290, 200},
    {"BUTTON", 3, "--->", CHILD | WS_TABSTOP, 0, 310, 110, 50, 24},
    {"STATIC", -1, "Current schedule:", CHILD, 0, 370, 6, 160, 16},
    {"LISTBOX", 1167, "", LIST, 0, 370, 42, 200, 200},
    {"BUTTON", 4, "&Remove", CHILD | WS_TABSTOP, 0, 370, 250, 90, 24},
    {"BUTTON", 5, "Remove &All", CHILD | WS_TABSTOP, 0, 470, 250, 100, 24},
    {"BUTTON", -1, "Policy", CHILD | BS_GROUPBOX, 0, 10, 246, 290, 48},
    {"BUTTON", 1113, "Critical", FIRST_RADIO, 0, 22, 266, 110, 20},
    {"BUTTON", 1166, "As possible", RADIO, 0, 150, 266, 120, 20},
    {"BUTTON", IDOK, "&OK", CHILD | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, 300, 306, 80, 24},
    {"BUTTON", IDCANCEL, "&Cancel", CHILD | WS_TABSTOP, 0, 390, 306, 80, 24},
    {"BUTTON", 6, "&Help", CHILD | WS_TABSTOP, 0, 480, 306, 80, 24},
};

const DlgItemTemplate kScheduleEndItems[] = {
    {"BUTTON", -1, "Next step", CHILD | BS_GROUPBOX, 0, 10, 6, 220, 100},
    {"BUTTON", 1191, "&Set machine policy", FIRST_RADIO, 0, 22, 26, 190, 20},
    {"BUTTON", 1192, "&Enter new schedule", RADIO, 0, 22, 52, 190, 20},
    {"BUTTON", 1122, "&Pause", RADIO, 0, 22, 78, 190, 20},
    {"BUTTON", IDOK, "&Continue", CHILD | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, 20, 116, 90, 24},
    {"BUTTON", 3, "&Help", CHILD | WS_TABSTOP, 0, 130, 116, 90, 24},
};

const DlgItemTemplate kAssembleToOrderItems[] = {
    {"BUTTON", 1210, "Active", CHILD | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 12, 10, 120, 20},
    {"STATIC", -1, "Max level:", CHILD, 0, 12, 42, 110, 18},
    {"EDIT", 1211, "", NUMBER, 0, 126, 38, 70, 22},
    {"STATIC", -1, "Order level:", CHILD, 0, 12, 70, 110, 18},
    {"EDIT", 1212, "", NUMBER, 0, 126, 66, 70, 22},
    {"STATIC", -1, "Red line level:", CHILD, 0, 12, 98, 110, 18},
    {"EDIT", 1214, "", NUMBER, 0, 126, 94, 70, 22},
    {"BUTTON", IDOK, "&OK", CHILD | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, 216, 10, 80, 24},
    {"BUTTON", IDCANCEL, "&Cancel", CHILD | WS_TABSTOP, 0, 216, 42, 80, 24},
    {"BUTTON", 3, "&Help", CHILD | WS_TABSTOP, 0, 216, 74, 80, 24},
};

const DlgItemTemplate kMakeOrBuyItems[] = {
    {"BUTTON", -1, "Internal product source", CHILD | BS_GROUPBOX, 0, 10, 6, 190, 76},
    {"BUTTON", 1248, "&Production", FIRST_RADIO, 0, 22, 26, 160, 20},
    {"BUTTON", 1249, "P&urchasing", RADIO, 0, 22, 52, 160, 20},
    {"BUTTON", IDOK, "&OK", CHILD | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, 214, 10, 80, 24},
    {"BUTTON", IDCANCEL, "&Cancel", CHILD | WS_TABSTOP, 0, 214, 42, 80, 24},
    {"BUTTON", 3, "&Help", CHILD | WS_TABSTOP, 0, 214, 74, 80, 24},
};

const DlgItemTemplate kDbrParamsItems[] = {
    {"STATIC", -1, "Constraint machine:", CHILD, 0, 12, 14, 130, 18},
    {"COMBOBOX", 1236, "", CHILD | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 146, 10, 90, 160},
    {"STATIC", -1, "Shipping buffer:", CHILD, 0, 12, 44, 130, 18},
    {"EDIT", 1239, "", NUMBER, 0, 146, 40, 60, 22},
    {"STATIC", -1, "Constraint buffer:", CHILD, 0, 12, 72, 130, 18},
    {"EDIT", 1237, "", NUMBER, 0, 146, 68, 60, 22},
    {"STATIC", -1, "Assembly buffer:", CHILD, 0, 12, 100, 130, 18},
    {"EDIT", 1238, "", NUMBER, 0, 146, 96, 60, 22},
    {"STATIC", -1, "Contract Factor:", CHILD, 0, 12, 128, 130, 18},
    {"EDIT", 1240, "", NUMBER, 0, 146, 124, 60, 22},
    {"BUTTON", IDOK, "&OK", CHILD | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, 250, 10, 80, 24},
    {"BUTTON", IDCANCEL, "&Cancel", CHILD | WS_TABSTOP, 0, 250, 42, 80, 24},
};

const DlgItemTemplate kBuyMachineUnitItems[] = {
    {"STATIC", -1, "Machine", CHILD, 0, 14, 8, 60, 16},
    {"STATIC", -1, "Can buy", CHILD, 0, 86, 8, 50, 16},
    {"STATIC", -1, "Price", CHILD, 0, 136, 8, 40, 16},
    {"STATIC", -1, "Supplly", CHILD, 0, 176, 8, 60, 16},
    {"LISTBOX", 1164, "", LIST, 0, 10, 26, 300, 120},
    {"BUTTON", IDOK, "&OK", CHILD | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, 30, 156, 80, 24},
    {"BUTTON", IDCANCEL, "&Cancel", CHILD | WS_TABSTOP, 0, 120, 156, 80, 24},
    {"BUTTON", 3, "&Help", CHILD | WS_TABSTOP, 0, 210, 156, 80, 24},
};

const DlgItemTemplate kProductPriorityItems[] = {
    {"BUTTON", 1241, "Enable product priority", CHILD | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 12, 10, 200, 20},
    {"BUTTON", IDOK, "OK", CHILD | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, 50, 220, 80, 24},
    {"BUTTON", IDCANCEL, "Cancel", CHILD | WS_TABSTOP, 0, 150, 220, 80, 24},
};

const DlgItemTemplate kAddExtraShiftItems[] = {
    {"STATIC", -1, "From:", CHILD, 0, 12, 14, 60, 18},
    {"EDIT", 1178, "", CHILD | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 0, 76, 10, 100, 22},
    {"STATIC", -1, "To:", CHILD, 0, 12, 44, 60, 18},
    {"EDIT", 1179, "", CHILD | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 0, 76, 40, 100, 22},
    {"STATIC", -1, "Add extra shift costs:", CHILD, 0, 12, 76, 140, 18},
    {"STATIC", 1321, "", CHILD, 0, 156, 76, 80, 18},
    {"BUTTON", IDOK, "&OK", CHILD | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, 20, 106, 80, 24},
    {"BUTTON", IDCANCEL, "&Cancel", CHILD | WS_TABSTOP, 0, 110, 106, 80, 24},
    {"BUTTON", 3, "&Help", CHILD | WS_TABSTOP, 0, 200, 106, 80, 24},
};

const DlgItemTemplate kGetWoNumItems[] = {
    {"STATIC", -1, "Enter WO Number:", CHILD, 0, 12, 14, 120, 18},
    {"COMBOBOX", 1087, "", CHILD | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN, 0, 134, 10, 100, 160},
    {"BUTTON", IDOK, "&OK", CHILD | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, 30, 50, 80, 24},
    {"BUTTON", IDCANCEL, "&Cancel", CHILD | WS_TABSTOP, 0, 140, 50, 80, 24},
};

// Reports: a list with Close and Help, or a grid's area above them.
const DlgItemTemplate kMachineInformationItems[] = {
    {"STATIC", -1, "Policy:", CHILD, 0, 12, 10, 100, 16},
    {"STATIC", 1256, "", CHILD, 0, 116, 10, 150, 16},
    {"STATIC", -1, "WO acceptance:", CHILD, 0, 12, 30, 100, 16},
    {"STATIC", 1257, "", CHILD, 0, 116, 30, 150, 16},
    {"STATIC", -1, "Production step list for machine:", CHILD, 0, 12, 54, 250, 16},
    {"LISTBOX", CReportListDlg::LIST_ID, "", LIST, 0, 10, 72, 330, 150},
    {"BUTTON", IDCANCEL, "&Close", CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 160, 232, 80, 24},
    {"BUTTON", 3, "&Help", CHILD | WS_TABSTOP, 0, 250, 232, 80, 24},
};

const DlgItemTemplate kJobsInformationItems[] = {
    {"LISTBOX", CReportListDlg::LIST_ID, "", LIST, 0, 10, 10, 360, 200},
    {"BUTTON", IDCANCEL, "&Close", CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 190, 220, 80, 24},
    {"BUTTON", 3, "&Help", CHILD | WS_TABSTOP, 0, 280, 220, 80, 24},
};

const DlgItemTemplate kGridReportItems[] = {
    {"BUTTON", IDCANCEL, "&Close", CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 190, 190, 80, 24},
    {"BUTTON", 3, "&Help", CHILD | WS_TABSTOP, 0, 280, 190, 80, 24},
};

const DlgItemTemplate kWideGridReportItems[] = {
    {"BUTTON", IDCANCEL, "&Close", CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 390, 190, 80, 24},
    {"BUTTON", 3, "&Help", CHILD | WS_TABSTOP, 0, 480, 190, 80, 24},
};

const DlgItemTemplate kMachineMaterialsItems[] = {
    {"STATIC", -1, "Machine", CHILD, 0, 14, 8, 60, 16},
    {"STATIC", -1, "Job", CHILD, 0, 74, 8, 40, 16},
    {"STATIC", -1, "Quantity", CHILD, 0, 120, 8, 60, 16},
    {"STATIC", -1, "Material", CHILD, 0, 200, 8, 60, 16},
    {"STATIC", -1, "WO", CHILD, 0, 274, 8, 40, 16},
    {"STATIC", -1, "Waiting At", CHILD, 0, 320, 8, 70, 16},
    {"LISTBOX", CReportListDlg::LIST_ID, "", LIST | WS_HSCROLL, 0, 10, 26, 470, 220},
    {"BUTTON", IDCANCEL, "&Close", CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 310, 256, 80, 24},
    {"BUTTON", 3, "&Help", CHILD | WS_TABSTOP, 0, 400, 256, 80, 24},
};

const DlgItemTemplate kRawMaterialReleaseListItems[] = {
    {"STATIC", 1297, "Raw M.", CHILD, 0, 14, 8, 50, 16},
    {"STATIC", 1298, "Dest.", CHILD, 0, 70, 8, 50, 16},
    {"STATIC", 1299, "Quant", CHILD, 0, 120, 8, 50, 16},
    {"STATIC", 1300, "Release", CHILD, 0, 172, 8, 60, 16},
    {"STATIC", 1215, "Prod.", CHILD, 0, 242, 8, 40, 16},
    {"STATIC", 1220, "WO", CHILD, 0, 296, 8, 40, 16},
    {"LISTBOX", 1207, "", LIST, 0, 10, 26, 370, 200},
    {"BUTTON", IDCANCEL, "&Close", CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 210, 236, 80, 24},
    {"BUTTON", 3, "&Help", CHILD | WS_TABSTOP, 0, 300, 236, 80, 24},
};

const DlgItemTemplate kUnassignedCommonPartsItems[] = {
    {"BUTTON", IDCANCEL, "&Close", CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 190, 60, 80, 24},
};

const DlgItemTemplate kMasterScheduleItems[] = {
    {"STATIC", 1215, "Prod.", CHILD, 0, 14, 8, 40, 16},
    {"STATIC", 1216, "Qty.", CHILD, 0, 64, 8, 40, 16},
    {"STATIC", 1217, "Left", CHILD, 0, 112, 8, 40, 16},
    {"STATIC", 1218, "Received", CHILD, 0, 160, 8, 70, 16},
    {"STATIC", 1219, "Due Date", CHILD, 0, 250, 8, 70, 16},
    {"STATIC", 1220, "WO", CHILD, 0, 340, 8, 40, 16},
    {"STATIC", CMasterScheduleDlg::LIST_ID, "ORDERLIST", CHILD | WS_BORDER, 0, 10, 26, 400, 230},
    {"BUTTON", -1, "Sort By", CHILD | BS_GROUPBOX, 0, 420, 20, 110, 124},
    {"BUTTON", 1086, "&Time", FIRST_RADIO, 0, 432, 40, 90, 20},
    {"BUTTON", 1087, "&WO", RADIO, 0, 432, 64, 90, 20},
    {"BUTTON", 1088, "&Product", RADIO, 0, 432, 88, 90, 20},
    {"BUTTON", 1089, "&Due Date", RADIO, 0, 432, 112, 90, 20},
    {"BUTTON", 1259, "&Show WO", CHILD | WS_TABSTOP | WS_GROUP, 0, 432, 160, 90, 24},
    {"BUTTON", IDCANCEL, "&Close", CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 432, 196, 90, 24},
    {"BUTTON", 3, "&Help", CHILD | WS_TABSTOP, 0, 432, 230, 90, 24},
};

const DlgItemTemplate kRoutingDiagramItems[] = {
    {"BUTTON", IDCANCEL, "&Close", CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 360, 428, 80, 24},
    {"BUTTON", 3, "&Help", CHILD | WS_TABSTOP, 0, 450, 428, 80, 24},
};

const DlgItemTemplate kAllProductsRoutingItems[] = {
    {"SCROLLBAR", CAllProductsRoutingDlg::SCROLL_BAR, "", CHILD | SBS_VERT, 0, 520, 0, 20, 410},
    {"BUTTON", IDCANCEL, "&Close", CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 360, 428, 80, 24},
    {"BUTTON", 3, "&Help", CHILD | WS_TABSTOP, 0, 450, 428, 80, 24},
};

const DlgItemTemplate kWoDiagramItems[] = {
    {"STATIC", -1, "WO:", CHILD, 0, 12, 432, 30, 18},
    {"COMBOBOX", CRouteDiagramDlg::WO_LIST, "", CHILD | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 46, 428, 90, 160},
    {"BUTTON", IDOK, "&Close", CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 360, 428, 80, 24},
    {"BUTTON", 3, "&Help", CHILD | WS_TABSTOP, 0, 450, 428, 80, 24},
};

const DlgItemTemplate kRoughCutItems[] = {
    {"STATIC", -1, "Range:", CHILD, 0, 12, 14, 50, 18},
    {"EDIT", CRoughCutCapacityDlg::RANGE, "", NUMBER, 0, 64, 10, 50, 22},
    {"BUTTON", CRoughCutCapacityDlg::DAYS, "&days", FIRST_RADIO, 0, 124, 12, 60, 20},
    {"BUTTON", CRoughCutCapacityDlg::MONTHS, "Months", RADIO, 0, 190, 12, 70, 20},
    {"STATIC", -1, "Contracts in HOLD:", CHILD, 0, 12, 46, 120, 18},
    {"BUTTON", IDCANCEL, "&Close", CHILD | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, 400, 290, 80, 24},
    {"BUTTON", 3, "&Help", CHILD | WS_TABSTOP, 0, 490, 290, 80, 24},
};

const DlgTemplate kTemplates[] = {
    {IDD_ROUGH_CUT_CAPACITY, "Rough Cut Capacity", DLG, 0, 0, 580, 324, nullptr, 0, kRoughCutItems},
    {IDD_ROUTING_DIAGRAM, "Routing Diagram", DLG, 0, 0, 540, 462, nullptr, 0, kRoutingDiagramItems},
    {IDD_ALL_PRODUCTS_ROUTING, "All Products Routing", DLG, 0, 0, 540, 462, nullptr, 0, kAllProductsRoutingItems},
    {IDD_WO_DIAGRAM, "WO Diagram", DLG, 0, 0, 540, 462, nullptr, 0, kWoDiagramItems},
    {IDD_MASTER_PRODUCTION_SCHEDULE, "Master Production Schedule", DLG, 0, 0, 540, 268, nullptr, 0,
     kMasterScheduleItems},
    {IDD_MACHINE_MATERIALS, "Machine Materials", DLG, 0, 0, 490, 290, nullptr, 0, kMachineMaterialsItems},
    {IDD_RAW_MATERIAL_RELEASE_LIST, "Raw Material Release List", DLG, 0, 0, 390, 270, nullptr, 0,
     kRawMaterialReleaseListItems},
    {IDD_UNASSIGNED_COMMON_PARTS, "Unassigned common part materials", DLG, 0, 0, 280, 112, nullptr, 0,
     kUnassignedCommonPartsItems},
    {IDD_MACHINE_INFORMATION, "Machine Information", DLG, 0, 0, 350, 266, nullptr, 0, kMachineInformationItems},
    {IDD_JOBS_INFORMATION, "Jobs Information", DLG, 0, 0, 380, 254, nullptr, 0, kJobsInformationItems},
    {IDD_MACHINES_UTILIZATION, "Machines Utilization", DLG, 0, 0, 570, 224, nullptr, 0, kWideGridReportItems},
    {IDD_MACHINE_TOTAL_LOAD, "Machine Total Load (in hours)", DLG, 0, 0, 370, 224, nullptr, 0, kGridReportItems},
    {IDD_PRODUCTION_TIMES, "Production Times", DLG, 0, 0, 370, 224, nullptr, 0, kGridReportItems},
    {IDD_WO_LEAD_TIME_STATISTICS, "WO Lead Time Statistics", DLG, 0, 0, 370, 224, nullptr, 0, kGridReportItems},
    {IDD_GET_WO_NUM, "Get WO Num", DLG, 0, 0, 250, 86, nullptr, 0, kGetWoNumItems},
    {IDD_ADD_EXTRA_SHIFT, "Add Extra Shift", DLG, 0, 0, 290, 140, nullptr, 0, kAddExtraShiftItems},
    {IDD_PRODUCT_PRIORITY, "Product Priority", DLG, 0, 0, 260, 254, nullptr, 0, kProductPriorityItems},
    {IDD_BUY_MACHINE_UNIT, "Buy Machine Unit", DLG, 0, 0, 320, 190, nullptr, 0, kBuyMachineUnitItems},
    {IDD_DBR_PARAMS, "DBR Params", DLG, 0, 0, 340, 160, nullptr, 0, kDbrParamsItems},
    {IDD_ASSEMBLE_TO_ORDER, "Assemble to order", DLG, 0, 0, 306, 130, nullptr, 0, kAssembleToOrderItems},
    {IDD_MAKE_OR_BUY, "Make or Buy Decision", DLG, 0, 0, 304, 94, nullptr, 0, kMakeOrBuyItems},
    {IDD_MANUAL_SCHEDULING, "Manual Scheduling", DLG, 0, 0, 580, 340, nullptr, 0, kManualSchedulingItems},
    {IDD_SCHEDULE_END, "Schedule End", DLG, 0, 0, 240, 150, nullptr, 0, kScheduleEndItems},
    {IDD_SET_MACHINE_POLICY, "Set Machine Policy", DLG, 0, 0, 360, 210, nullptr, 0, kSetMachinePolicyItems},
    {IDD_RED_LINE_LEVEL_POLICY, "Red line level policy", DLG, 0, 0, 320, 200, nullptr, 0, kRedLinePolicyItems},
    {IDD_RAW_MATERIAL_RELEASE, "Raw Material Release", DLG, 0, 0, 560, 280, nullptr, 0, kRawMaterialReleaseItems},
    {IDD_TRANSPORT_POLICY, "Transport Policy", DLG, 0, 0, 200, 126, nullptr, 0, kTransportPolicyItems},
    {IDD_WORK_ORDER_KIT, "Work Order Kit", DLG, 0, 0, 200, 126, nullptr, 0, kWorkOrderKitItems},
    {IDD_SCHEDULES_OPTIONS, "Schedules Options", DLG, 0, 0, 200, 126, nullptr, 0, kSchedulesOptionsItems},
    {IDD_PLANNING_FOR_CONTRACTS, "Planning For Contracts", DLG, 0, 0, 280, 138, nullptr, 0,
     kPlanningForContractsItems},
    {IDD_WORK_ORDER_PLANNING, "Work Order Planning", DLG, 0, 0, 420, 182, nullptr, 0, kWorkOrderPlanningItems},
    {IDD_GET_MACHINE_NAME, "Get Machine Name", DLG, 0, 0, 250, 86, nullptr, 0, kGetMachineNameItems},
    {IDD_GET_COMMON_PART, "Get Common Part Name", DLG, 0, 0, 250, 86, nullptr, 0, kGetCommonPartItems},
    {IDD_PRODUCTION_ORDER, "Order", DLG, 0, 0, 306, 150, nullptr, 0, kOrderItems},
    {IDD_SET_UNIT_MANUALLY, "Set Unit Manually", DLG, 0, 0, 392, 346, nullptr, 0, kSetUnitManuallyItems},
    {IDD_WAITING_WOS, "Waiting WO's", DLG, 0, 0, 380, 252, nullptr, 0, kWaitingWOsItems},
};

} // namespace

void register_production_templates(HINSTANCE module)
{
    RegisterDialogTemplates(module, kTemplates);
    uikit_register_graph_template(module, IDD_LOAD_PROFILE, "MRP Load Profile", 520, 360);
}
