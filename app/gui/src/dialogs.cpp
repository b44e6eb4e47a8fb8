// The application dialogs: About, Run, Open Session (learn levels), Open
// Scenario, Change Seed Number, Background and Simulation Over.
#include "appgui/vorn_gui.h"
#include "appgui/tutor.h"
#include "plat/uihost.h"
#include "app/learn_file.h"
#include "foundation/draw.h"
#include "foundation/lang.h"
#include "plat/controls.h"
#include "plat/dialog.h"
#include "plat/fw/dialog.h"
#include "plat/help.h"
#include "plat/path.h"
#include "plat/config.h"
#include "plat/profile.h"
#include "plat/window.h"
#include <cstdio>
#include <cstdlib>
#include <filesystem>

using namespace plat;

namespace {

std::string item_text(HWND dlg, int id)
{
    char buf[256] = {};
    plat::GetDlgItemText(dlg, id, buf, sizeof buf);
    return buf;
}

// The last part of a name from the data, whichever separator it uses.
std::string file_name_of(const std::string& path)
{
    const size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool g_first_about_ok = false;

bool file_exists(const std::string& name)
{
    const std::string path = ResolvePath(name.c_str());
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

class CAboutDlg : public CDialog {
public:
    CAboutDlg(const Configuration& config, CWnd* parent) : CDialog(IDD_ABOUT, parent), m_config(config) {}
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        const std::string caption = std::string(lang_translate("About")) + " " + m_config.title;
        SetWindowText(caption.c_str());
        // The text's first field, one line per carriage return.
        std::string text = m_config.about.substr(0, m_config.about.find('%'));
        std::string lines;
        for (char c : text) {
            if (c == '\r')
                lines += '\n';
            else if (c != '\n')
                lines += c;
        }
        plat::SetDlgItemText(m_hWnd, 1000, lines.c_str());
        return TRUE;
    }

private:
    const Configuration& m_config;
};

class CRunDlg : public CSimDialog {
public:
    CRunDlg(CVornWindow* view, int dateOrder) : CSimDialog(IDD_RUN, view, view), m_order(dateOrder) {}
    BOOL OnInitDialog() override
    {
        CSimDialog::OnInitDialog();
        plat::SendDlgItemMessage(m_hWnd, 1007, EM_LIMITTEXT, 8, 0);
        plat::SetDlgItemText(m_hWnd, 1197, m_order == 0 ? "dd/mm/yy" : m_order == 1 ? "mm/dd/yy" : "yy/mm/dd");
        plat::CheckDlgButton(m_hWnd, 1003, BST_CHECKED);
        plat::SetFocus(plat::GetDlgItem(m_hWnd, 1003));
        return FALSE;
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        if (id == 1007 && code == EN_SETFOCUS) {
            for (int b = 1000; b <= 1006; ++b)
                plat::CheckDlgButton(m_hWnd, b, b == 1005 ? BST_CHECKED : BST_UNCHECKED);
        } else if (id == 1005 && code == BN_CLICKED) {
            plat::SetFocus(plat::GetDlgItem(m_hWnd, 1007));
        }
        return CSimDialog::OnCommand(wParam, lParam);
    }
    void OnOK() override
    {
        auto on = [&](int b) { return plat::IsDlgButtonChecked(m_hWnd, b) == BST_CHECKED; };
        choice.year = on(1000);
        choice.month = on(1001);
        choice.week = on(1002);
        choice.day = on(1003);
        choice.next_year = on(1004);
        choice.next_month = on(1006);
        if (on(1005))
            choice.typed_date = item_text(m_hWnd, 1007);
        CSimDialog::OnOK();
    }
    RunChoice choice;

private:
    int m_order;
};

class COpenSessionDlg : public CSimDialog {
public:
    COpenSessionDlg(CVornWindow* view, LearnRecord& record) : CSimDialog(IDD_OPEN_SESSION, view, view), m_record(record) {}
    BOOL OnInitDialog() override
    {
        CSimDialog::OnInitDialog();
        const int levels = static_cast<int>(m_record.levels.size());
        for (int i = 0; i < levels; ++i)
            add_button(i, m_record.levels[static_cast<size_t>(i)].title.c_str(), learn_level_available(m_record, i));
        const std::string folder = m_record.folder.empty() ? "." : m_record.folder;
        if (file_exists(folder + "/LASTLRN") || file_exists(folder + "/LASTLRN.VNB"))
            add_button(levels, lang_translate("Last session"), true);
        plat::CheckDlgButton(m_hWnd, 100, BST_CHECKED);
        return TRUE;
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (LOWORD(wParam) == 1212 && HIWORD(wParam) == BN_CLICKED) {
            const bool tutorial = plat::IsDlgButtonChecked(m_hWnd, 1212) == BST_CHECKED;
            for (size_t i = 0; i < m_buttons.size(); ++i)
                plat::EnableWindow(m_buttons[i], tutorial ? FALSE : m_enabled[i]);
        }
        return CSimDialog::OnCommand(wParam, lParam);
    }
    void OnOK() override
    {
        if (plat::IsDlgButtonChecked(m_hWnd, 1212) == BST_CHECKED) {
            m_record.tutorial_chosen = 1;
        } else {
            for (size_t i = 0; i < m_buttons.size(); ++i)
                if (plat::IsDlgButtonChecked(m_hWnd, 100 + static_cast<int>(i)) == BST_CHECKED) {
                    chosen = static_cast<int>(i);
                    break;
                }
        }
        CSimDialog::OnOK();
    }
    int chosen = -1;

private:
    void add_button(int i, const char* title, bool enabled)
    {
        HWND b = CreateWindowEx(0, "BUTTON", title,
                                WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP | WS_TABSTOP : 0),
                                50, 30 + 25 * i, 200, 20, m_hWnd, static_cast<UINT_PTR>(100 + i), 0, nullptr);
        plat::SendMessage(b, WM_SETFONT, static_cast<WPARAM>(m_font), TRUE);
        plat::EnableWindow(b, enabled ? TRUE : FALSE);
        m_buttons.push_back(b);
        m_enabled.push_back(enabled ? TRUE : FALSE);
    }
    LearnRecord& m_record;
    std::vector<HWND> m_buttons;
    std::vector<BOOL> m_enabled;
};

class COpenScenarioDlg : public CSimDialog {
public:
    COpenScenarioDlg(CVornWindow* view, const std::vector<std::string>& scenarios, bool tutorial)
        : CSimDialog(IDD_OPEN_SCENARIO, view, view), m_scenarios(scenarios), m_tutorial(tutorial)
    {
    }
    BOOL OnInitDialog() override
    {
        CSimDialog::OnInitDialog();
        for (const std::string& s : m_scenarios)
            plat::SendDlgItemMessage(m_hWnd, 1253, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(file_name_of(s).c_str()));
        plat::SendDlgItemMessage(m_hWnd, 1253, LB_SETCURSEL, 0, 0);
        if (!m_tutorial)
            plat::ShowWindow(plat::GetDlgItem(m_hWnd, 1255), SW_HIDE);
        return TRUE;
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (LOWORD(wParam) == 1255 && HIWORD(wParam) == BN_CLICKED) {
            const bool on = plat::IsDlgButtonChecked(m_hWnd, 1255) == BST_CHECKED;
            plat::EnableWindow(plat::GetDlgItem(m_hWnd, 1253), on ? FALSE : TRUE);
            plat::SendDlgItemMessage(m_hWnd, 1253, LB_SETCURSEL, on ? static_cast<WPARAM>(-1) : 0, 0);
        }
        return CSimDialog::OnCommand(wParam, lParam);
    }
    void OnOK() override
    {
        chosen = plat::IsDlgButtonChecked(m_hWnd, 1255) == BST_CHECKED
                     ? -1
                     : static_cast<int>(plat::SendDlgItemMessage(m_hWnd, 1253, LB_GETCURSEL, 0, 0));
        CSimDialog::OnOK();
    }
    int chosen = -2;

private:
    const std::vector<std::string>& m_scenarios;
    bool m_tutorial;
};

class CChangeSeedDlg : public CSimDialog {
public:
    CChangeSeedDlg(CVornWindow* view, int32_t seed) : CSimDialog(IDD_CHANGE_SEED, view, view), seed(seed) {}
    BOOL OnInitDialog() override
    {
        CSimDialog::OnInitDialog();
        plat::SetDlgItemText(m_hWnd, 1258, std::to_string(seed).c_str());
        return TRUE;
    }
    void OnOK() override
    {
        seed = static_cast<int32_t>(std::strtol(item_text(m_hWnd, 1258).c_str(), nullptr, 10));
        CSimDialog::OnOK();
    }
    int32_t seed;
};

// Texts in their controls; one control may get a font of its own, made
// from the language file's face for "Ms Sans Serif" and deleted with the
// dialog.
struct TextFont {
    int control = 0;
    int points = 0;
    bool bold = false;
};

class CTextDlg : public CSimDialog {
public:
    CTextDlg(CVornWindow* view, int templateId, std::vector<std::pair<int, std::string>> texts, TextFont font = {})
        : CSimDialog(templateId, view, view), m_texts(std::move(texts)), m_fontSpec(font)
    {
    }
    ~CTextDlg() override
    {
        if (m_font != 0)
            DeleteObject(m_font);
    }
    BOOL OnInitDialog() override
    {
        CSimDialog::OnInitDialog();
        for (const auto& [id, text] : m_texts)
            plat::SetDlgItemText(m_hWnd, id, text.c_str());
        if (m_fontSpec.control != 0) {
            m_font = create_font(lang_font("Ms Sans Serif"), m_fontSpec.points, m_fontSpec.bold, false, false, false);
            if (m_font != 0)
                plat::SendDlgItemMessage(m_hWnd, m_fontSpec.control, WM_SETFONT, static_cast<WPARAM>(m_font), TRUE);
            // The reader starts at the top, nothing selected.
            plat::SendDlgItemMessage(m_hWnd, m_fontSpec.control, EM_SETSEL, 0, 0);
        }
        return TRUE;
    }

private:
    std::vector<std::pair<int, std::string>> m_texts;
    TextFont m_fontSpec;
    HFONT m_font = 0;
};

} // namespace

void show_about_box(CVornWindow* view, const Configuration& config, bool atStart)
{
    CAboutDlg dlg(config, view);
    const intptr_t result = dlg.DoModal();
    // The first OK of the program's life leads into choosing a session.
    if (result == IDOK && !g_first_about_ok) {
        g_first_about_ok = true;
        if (atStart && view != nullptr)
            view->PostMessage(WM_COMMAND, MAKEWPARAM(ID_OPEN, 0), 0);
    }
}

std::optional<RunChoice> run_dialog(CVornWindow* view, int dateOrder)
{
    CRunDlg dlg(view, dateOrder);
    if (dlg.DoModal() != IDOK)
        return std::nullopt;
    return dlg.choice;
}

std::optional<int> CVornWindow::choose_learn_level(LearnRecord& record)
{
    COpenSessionDlg dlg(this, record);
    if (dlg.DoModal() != IDOK)
        return std::nullopt;
    if (record.tutorial_chosen)
        return 0;
    if (dlg.chosen < 0)
        return std::nullopt;
    return dlg.chosen;
}

std::optional<std::string> CVornWindow::choose_scenario(const std::vector<std::string>& scenarios)
{
    COpenScenarioDlg dlg(this, scenarios, m_sessions.configuration().tutorial);
    if (dlg.DoModal() != IDOK)
        return std::nullopt;
    // A checked tutorial box chooses the tutorial instead of a scenario.
    if (dlg.chosen == -1) {
        run_tutorial();
        return std::nullopt;
    }
    if (dlg.chosen < 0 || dlg.chosen >= static_cast<int>(scenarios.size()))
        return std::nullopt;
    return scenarios[static_cast<size_t>(dlg.chosen)];
}

void CVornWindow::run_tutorial()
{
    RunTutorial(*this);
}

std::optional<int32_t> CVornWindow::change_seed(int32_t seed)
{
    CChangeSeedDlg dlg(this, seed);
    if (dlg.DoModal() != IDOK)
        return std::nullopt;
    return dlg.seed;
}

void CVornWindow::show_story(const std::string& name)
{
    if (name.empty())
        return;
    if (story_is_help(name)) {
        // The help window takes the desktop less a 50-pixel margin.
        const SIZE desk = DesktopSize();
        char where[64];
        std::snprintf(where, sizeof where, "[%d,%d,%d,%d,0]", 50, 50, static_cast<int>(desk.cx) - 100,
                      static_cast<int>(desk.cy) - 100);
        WriteProfileString("Windows Help", "M_WindowPosition", where);
        WinHelp(m_hWnd, name.c_str(), HELP_CONTENTS, 0);
        return;
    }
    std::optional<std::string> text = read_background_story(name);
    if (!text)
        return;
    // The window shows the session before the story is read over it.
    SyncSession();
    CTextDlg dlg(this, IDD_BACKGROUND, {{1198, *text}}, {1198, 10, true});
    dlg.DoModal();
}

void CVornWindow::show_learn_result(const LearnOutcome& outcome)
{
    CTextDlg dlg(this, IDD_SIMULATION_OVER,
                 {{1140, outcome.profit_text}, {1141, outcome.grade_text}, {1202, outcome.comment}},
                 {1202, 10, false});
    dlg.DoModal();
}
