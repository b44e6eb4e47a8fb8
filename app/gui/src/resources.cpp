// The program's menus and dialog templates, registered as module VORN.EXE.
#include "appgui/vorn_gui.h"
#include "app/app_types.h"
#include "appdialogs/app_dialogs.h"
#include "plat/controls.h"
#include "plat/dialog.h"
#include "plat/menu.h"
#include "plat/module.h"
#include "plat/res.h"
#include "plat/uihost.h"
#include "uikit/uikit.h"

using namespace plat;

namespace {

constexpr DWORD CHILD = WS_CHILD | WS_VISIBLE;
constexpr DWORD DLG = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;

// ---- menus ---------------------------------------------------------------

// Commands whose handlers live with the tutorial player's link.
constexpr UINT CMD_DECISIONS_CENTER = 32815;
constexpr UINT CMD_GUIDED_RUNS = 32821;

const MenuTemplateItem kStartSession[] = {
    {"R&un tutorial", ID_RUN_TUTORIAL, 0, {}},
    {"&Open ...", ID_OPEN, 0, {}},
    {nullptr, 0, MF_SEPARATOR, {}},
    {"E&xit", ID_EXIT, 0, {}},
};
const MenuTemplateItem kHelp[] = {
    {"&Contents", ID_HELP_CONTENTS, 0, {}},
    {"&Search for help on ...", ID_SEARCH_HELP, 0, {}},
    {nullptr, 0, MF_SEPARATOR, {}},
    {"&About VORNS ...", ID_APP_ABOUT, 0, {}},
};
// The session's Help adds the tutorial player's starts.
const MenuTemplateItem kSessionHelp[] = {
    {"&Contents", ID_HELP_CONTENTS, 0, {}},
    {"&Search for help on ...", ID_SEARCH_HELP, 0, {}},
    {nullptr, 0, MF_SEPARATOR, {}},
    {"&Tutorial", ID_RUN_TUTORIAL, 0, {}},
    {"&Guided runs ...", CMD_GUIDED_RUNS, 0, {}},
    {nullptr, 0, MF_SEPARATOR, {}},
    {"&About VORNS ...", ID_APP_ABOUT, 0, {}},
};
const MenuTemplateItem kStartBar[] = {
    {"&Session", 0, 0, kStartSession},
    {"&Help", 0, 0, kHelp},
};

const MenuTemplateItem kSession[] = {
    {"&Open ...", ID_OPEN, 0, {}},
    {"&Save ...", ID_SAVE, 0, {}},
    {nullptr, 0, MF_SEPARATOR, {}},
    {"&Run ...", ID_RUN, 0, {}},
    {"Run on &day", ID_RUN_ON_DAY, 0, {}},
    {"Run Year", ID_RUN_YEAR, 0, {}},
    {"&Continue", ID_CONTINUE, 0, {}},
    {"S&top", ID_STOP, 0, {}},
    {"Restore &hold", ID_RESTORE_HOLD, 0, {}},
    {nullptr, 0, MF_SEPARATOR, {}},
    {"&Marketing", ID_MARKETING, 0, {}},
    {"&Production", ID_PRODUCTION, 0, {}},
    {"P&urchasing", ID_PURCHASING, 0, {}},
    {"&Finance", ID_FINANCE, 0, {}},
    {nullptr, 0, MF_SEPARATOR, {}},
    {"General &information ...", ID_INFORMATION, 0, {}},
    {"Policy &Decisions", ID_POLICY_DECISIONS, 0, {}},
    {"DecisionsCenter", CMD_DECISIONS_CENTER, 0, {}},
    {"Set machine work percent", ID_SET_MACHINE_WORK_PERCENT, 0, {}},
    {"Save p&olicies ...", ID_SAVE_POLICIES, 0, {}},
    {"&Load policies ...", ID_LOAD_POLICIES, 0, {}},
    {nullptr, 0, MF_SEPARATOR, {}},
    {"ViewGraph", ID_VIEW_GRAPH, 0, {}},
    {"View Total Load", ID_VIEW_TOTAL_LOAD, 0, {}},
    {"Summary Graphs", ID_SUMMARY_GRAPHS, 0, {}},
    {"Profit Graph", ID_PROFIT_GRAPH, 0, {}},
    {nullptr, 0, MF_SEPARATOR, {}},
    {"Change seed", ID_CHANGE_SEED, 0, {}},
    {"Logging", ID_LOGGING, 0, {}},
    {"Co&mpare", ID_COMPARE, 0, {}},
    {"Write Lang", ID_WRITE_LANG, 0, {}},
    {"ShowID", ID_SHOW_ID, 0, {}},
    {"Show FG", ID_SHOW_FG, 0, {}},
    {"Intermission", ID_INTERMISSION, 0, {}},
    {"Version", ID_VERSION, 0, {}},
    {"Inc timer in 10 minutes", ID_TIMER_TEN_MINUTES, 0, {}},
    {"CloseSession", ID_CLOSE_SESSION, 0, {}},
    {nullptr, 0, MF_SEPARATOR, {}},
    {"E&xit", ID_EXIT, 0, {}},
};
// Filled by the shown department.
const MenuTemplateItem kEmpty[] = {
    {nullptr, 0, MF_SEPARATOR, {}},
};
const MenuTemplateItem kSessionBar[] = {
    {"&Session", 0, 0, kSession},
    {"&Information", 0, 0, kEmpty},
    {"&Actions", 0, 0, kEmpty},
    {"&Policies", 0, 0, kEmpty},
    {"&Help", 0, 0, kSessionHelp},
};

const MenuTemplate kMenus[] = {
    {IDR_START_MENU, kStartBar},
    {IDR_SESSION_MENU, kSessionBar},
};

const ACCEL kAccel[] = {
    {FVIRTKEY | FCONTROL, 'O', ID_OPEN},
    {FVIRTKEY | FCONTROL, 'S', ID_SAVE},
    {FVIRTKEY | FCONTROL, 'R', ID_RUN},
    {FVIRTKEY, 0x1B /* Esc */, ID_STOP},
};
const AccelTemplate kAccels[] = {
    {IDR_SESSION_MENU, kAccel},
};

// ---- dialogs -------------------------------------------------------------

const DlgItemTemplate kAboutItems[] = {
    {"STATIC", 1000, "", CHILD, 0, 40, 24, 300, 90},
    {"BUTTON", IDOK, "OK", CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 140, 128, 80, 24},
};

const DlgItemTemplate kRunItems[] = {
    {"BUTTON", 1000, "&Year", CHILD | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, 0, 16, 12, 130, 20},
    {"BUTTON", 1001, "&Month", CHILD | BS_AUTORADIOBUTTON, 0, 16, 34, 130, 20},
    {"BUTTON", 1002, "&Week", CHILD | BS_AUTORADIOBUTTON, 0, 16, 56, 130, 20},
    {"BUTTON", 1003, "&Day", CHILD | BS_AUTORADIOBUTTON, 0, 16, 78, 130, 20},
    {"BUTTON", 1004, "&Next year", CHILD | BS_AUTORADIOBUTTON, 0, 160, 12, 130, 20},
    {"BUTTON", 1006, "Next m&onth", CHILD | BS_AUTORADIOBUTTON, 0, 160, 34, 130, 20},
    {"BUTTON", 1005, "&Until", CHILD | BS_AUTORADIOBUTTON, 0, 160, 56, 60, 20},
    {"EDIT", 1007, "", CHILD | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 0, 222, 56, 80, 22},
    {"STATIC", 1197, "dd/mm/yy", CHILD, 0, 222, 80, 80, 18},
    {"BUTTON", IDOK, "OK", CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 70, 112, 80, 24},
    {"BUTTON", IDCANCEL, "Cancel", CHILD | WS_TABSTOP, 0, 170, 112, 80, 24},
};

const DlgItemTemplate kBackgroundItems[] = {
    {"EDIT", 1198, "", CHILD | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_READONLY, 0, 10, 10, 500, 300},
    {"BUTTON", IDOK, "OK", CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 220, 320, 80, 24},
};

// The level buttons are made at run time (ids 100 + level).
const DlgItemTemplate kOpenSessionItems[] = {
    {"STATIC", 1000, "Choose the level to play:", CHILD, 0, 20, 6, 260, 18},
    {"BUTTON", 1212, "Run VORNS Tutorial", CHILD | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 50, 196, 220, 20},
    {"BUTTON", IDOK, "OK", CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 60, 226, 80, 24},
    {"BUTTON", IDCANCEL, "Cancel", CHILD | WS_TABSTOP, 0, 160, 226, 80, 24},
};

const DlgItemTemplate kSimulationOverItems[] = {
    {"STATIC", 1140, "", CHILD, 0, 16, 12, 330, 20},
    {"STATIC", 1141, "", CHILD, 0, 16, 36, 330, 20},
    {"STATIC", 1202, "", CHILD, 0, 16, 62, 330, 90},
    {"BUTTON", IDOK, "OK", CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 140, 160, 80, 24},
};

const DlgItemTemplate kOpenScenarioItems[] = {
    {"LISTBOX", 1253, "", CHILD | WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY, 0, 16, 12, 268, 130},
    {"BUTTON", 1255, "&Run tutorial", CHILD | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 16, 148, 200, 20},
    {"BUTTON", IDOK, "OK", CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 60, 178, 80, 24},
    {"BUTTON", IDCANCEL, "Cancel", CHILD | WS_TABSTOP, 0, 160, 178, 80, 24},
};

const DlgItemTemplate kChangeSeedItems[] = {
    {"STATIC", 1000, "Seed:", CHILD, 0, 16, 16, 60, 20},
    {"EDIT", 1258, "", CHILD | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 0, 80, 14, 120, 22},
    {"BUTTON", IDOK, "OK", CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 20, 50, 80, 24},
    {"BUTTON", IDCANCEL, "Cancel", CHILD | WS_TABSTOP, 0, 120, 50, 80, 24},
};

const DlgItemTemplate kGeneralInformationItems[] = {
    {"STATIC", 1000, "Bank credit line:", CHILD, 0, 16, 14, 190, 20},
    {"STATIC", 1087, "", CHILD | SS_RIGHT | SS_SUNKEN, 0, 210, 12, 110, 20},
    {"STATIC", 1000, "Client credit line (days):", CHILD, 0, 16, 40, 190, 20},
    {"STATIC", 1088, "", CHILD | SS_RIGHT | SS_SUNKEN, 0, 210, 38, 110, 20},
    {"STATIC", 1000, "Supplier credit line (days):", CHILD, 0, 16, 66, 190, 20},
    {"STATIC", 1089, "", CHILD | SS_RIGHT | SS_SUNKEN, 0, 210, 64, 110, 20},
    {"STATIC", 1000, "Building value:", CHILD, 0, 16, 92, 190, 20},
    {"STATIC", 1091, "", CHILD | SS_RIGHT | SS_SUNKEN, 0, 210, 90, 110, 20},
    {"STATIC", 1000, "Machine value:", CHILD, 0, 16, 118, 190, 20},
    {"STATIC", 1092, "", CHILD | SS_RIGHT | SS_SUNKEN, 0, 210, 116, 110, 20},
    {"STATIC", 1000, "Exponential smoothing factor:", CHILD, 0, 16, 144, 190, 20},
    {"STATIC", 1093, "", CHILD | SS_RIGHT | SS_SUNKEN, 0, 210, 142, 110, 20},
    {"BUTTON", IDOK, "OK", CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 128, 178, 80, 24},
};

const DlgItemTemplate kMachineWorkPercentItems[] = {
    {"STATIC", 1000, "Current value:", CHILD, 0, 16, 16, 100, 20},
    {"STATIC", 1295, "", CHILD | SS_SUNKEN, 0, 120, 14, 90, 20},
    {"STATIC", 1000, "New value:", CHILD, 0, 16, 46, 100, 20},
    {"EDIT", 1294, "", CHILD | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 0, 120, 44, 90, 22},
    {"BUTTON", IDOK, "OK", CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 20, 82, 80, 24},
    {"BUTTON", IDCANCEL, "Cancel", CHILD | WS_TABSTOP, 0, 120, 82, 80, 24},
};

// The button is no tab stop and not the default, so no key reaches it.
const DlgItemTemplate kIntermissionItems[] = {
    {"STATIC", 1209, "Intermission", CHILD | SS_CENTER, 0, 10, 40, 340, 60},
    {"BUTTON", 1210, "OK", CHILD, 0, 140, 124, 80, 24},
};

const DlgItemTemplate kPolicyDecisionsItems[] = {
    {"STATIC", 1000, "Marketing", CHILD, 0, 16, 12, 120, 18},
    {"STATIC", 1000, "Product parameters", CHILD, 0, 32, 36, 180, 20},
    {"BUTTON", 1260, "Change", CHILD | WS_TABSTOP, 0, 220, 32, 80, 24},
    {"STATIC", 1000, "Production", CHILD, 0, 16, 68, 120, 18},
    {"STATIC", 1000, "Machine policy", CHILD, 0, 32, 92, 180, 20},
    {"BUTTON", 1124, "Change", CHILD | WS_TABSTOP, 0, 220, 88, 80, 24},
    {"STATIC", 1000, "Work order planning", CHILD, 0, 32, 120, 180, 20},
    {"BUTTON", 1125, "Change", CHILD | WS_TABSTOP, 0, 220, 116, 80, 24},
    {"STATIC", 1000, "Red level policy", CHILD, 0, 32, 148, 180, 20},
    {"BUTTON", 1126, "Change", CHILD | WS_TABSTOP, 0, 220, 144, 80, 24},
    {"STATIC", 1000, "Purchasing", CHILD, 0, 16, 180, 120, 18},
    {"STATIC", 1000, "Material parameters", CHILD, 0, 32, 204, 180, 20},
    {"BUTTON", 1127, "Change", CHILD | WS_TABSTOP, 0, 220, 200, 80, 24},
    {"BUTTON", IDOK, "Close", CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 120, 244, 80, 24},
};

const DlgItemTemplate kGuidedRunsItems[] = {
    {"STATIC", 1000, "Choose a guided run:", CHILD, 0, 16, 8, 220, 18},
    {"LISTBOX", 1281, "", CHILD | WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY, 0, 16, 28, 220, 150},
    {"BUTTON", IDOK, "OK", CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 30, 188, 80, 24},
    {"BUTTON", IDCANCEL, "Cancel", CHILD | WS_TABSTOP, 0, 140, 188, 80, 24},
};

const DlgItemTemplate kRedWarningsItems[] = {
    {"LISTBOX", 1324, "", CHILD | WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY, 0, 10, 10, 380, 180},
    {"BUTTON", CRedWarningsDlg::CLOSE_ID, "Close Window", CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 150, 200, 100,
     24},
};

const DlgTemplate kDialogs[] = {
    {IDD_GENERAL_INFORMATION, "General Information", DLG | DS_CENTER, 0, 0, 336, 212, nullptr, 0,
     kGeneralInformationItems},
    {IDD_MACHINE_WORK_PERCENT, "Set Machine Work Percent", DLG | DS_CENTER, 0, 0, 224, 116, nullptr, 0,
     kMachineWorkPercentItems},
    {IDD_INTERMISSION, "", WS_POPUP | WS_BORDER | DS_MODALFRAME | DS_CENTER, 0, 0, 360, 160, nullptr, 0,
     kIntermissionItems},
    {IDD_POLICY_DECISIONS, "Policy Decisions", DLG | DS_CENTER, 0, 0, 320, 278, nullptr, 0, kPolicyDecisionsItems},
    {IDD_GUIDED_RUNS, "Guided Runs", DLG | DS_CENTER, 0, 0, 252, 222, nullptr, 0, kGuidedRunsItems},
    {IDD_RED_WARNINGS, "Red Warnings", WS_POPUP | WS_CAPTION | WS_SYSMENU, 200, 120, 400, 234, nullptr, 0,
     kRedWarningsItems},
    {IDD_ABOUT, "About", DLG | DS_CENTER, 0, 0, 360, 164, nullptr, 0, kAboutItems},
    {IDD_RUN, "Run", DLG | DS_CENTER, 0, 0, 320, 148, nullptr, 0, kRunItems},
    {IDD_BACKGROUND, "Background", DLG | DS_CENTER, 0, 0, 520, 354, nullptr, 0, kBackgroundItems},
    {IDD_OPEN_SESSION, "Open Session", DLG | DS_CENTER, 0, 0, 300, 260, nullptr, 0, kOpenSessionItems},
    {IDD_SIMULATION_OVER, "Simulation Over", DLG | DS_CENTER, 0, 0, 360, 196, nullptr, 0, kSimulationOverItems},
    {IDD_OPEN_SCENARIO, "Open Scenario", DLG | DS_CENTER, 0, 0, 300, 212, nullptr, 0, kOpenScenarioItems},
    {IDD_CHANGE_SEED, "Change Seed Number", DLG | DS_CENTER, 0, 0, 220, 86, nullptr, 0, kChangeSeedItems},
};

const StringEntry kStrings[] = {
    {AFX_IDS_APP_TITLE, "VORNS"},
};

} // namespace

HINSTANCE register_vorn_resources()
{
    HINSTANCE module = RegisterModule("VORN.EXE", nullptr);
    RegisterMenuTemplates(module, kMenus);
    RegisterDialogTemplates(module, kDialogs);
    RegisterAcceleratorTables(module, kAccels);
    RegisterStringTable(module, kStrings, std::size(kStrings));
    register_app_dialog_templates(module);
    uikit_register_resources(module);
    AfxSetResourceHandle(module);
    return module;
}
