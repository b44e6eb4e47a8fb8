// What the Purchasing dialog tests share: the templates registered once, the
// engine of the sample's shape with its decision records, clicks, list rows
// and the PNG folder.
#pragma once
#include "plat/config.h"
#include "plat/controls.h"
#include "plat/dialog.h"
#include "plat/fw/app.h"
#include "plat/module.h"
#include "plat/testing.h"
#include "plat/trace.h"
#include "plat/window.h"
#include "purchasing/purchasing_dialogs.h"
#include "support/fixture.h"
#include <gtest/gtest.h>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace prc_test {

using namespace plat;

class PurchasingDialogs : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        InitGui();
        const HINSTANCE module = RegisterModule("PRCTEST.EXE", nullptr);
        register_purchasing_dialog_templates(module);
        AfxSetResourceHandle(module);
    }
    void TearDown() override { ResetWindowsForTest(); }
};

struct Decision {
    std::string key, object, old_value, new_value;
    bool operator==(const Decision&) const = default;
};
using Decisions = std::vector<Decision>;

inline void PrintTo(const Decision& d, std::ostream* os)
{
    *os << d.key << "(" << d.object << ": " << d.old_value << " -> " << d.new_value << ")";
}

// The fixture's department with every decision it records.
struct Desk : Fixture {
    std::vector<Decision> decisions;
    Desk()
    {
        view.decision_hook = [this](const char* dept, const char* key, const std::string& object,
                                    const std::string& old_value, const std::string& new_value, int, int) {
            EXPECT_STREQ(dept, "Prc");
            decisions.push_back({key, object, old_value, new_value});
        };
    }
};

inline void click(HWND dlg, int id)
{
    SendMessage(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), static_cast<LPARAM>(GetDlgItem(dlg, id)));
}

// A radio button or check box as the user clicks it: its state, then the notice.
inline void press(HWND dlg, int id)
{
    SendMessage(GetDlgItem(dlg, id), BM_CLICK, 0, 0);
}

inline void click_at(HWND dlg, const RECT& r)
{
    SendMessage(dlg, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    SendMessage(dlg, WM_LBUTTONUP, 0, MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
}

inline std::string text_of(HWND dlg, int id)
{
    char text[256] = {};
    GetDlgItemText(dlg, id, text, sizeof text);
    return text;
}

inline std::string png(const std::string& name)
{
    const std::filesystem::path folder = std::filesystem::path(VORN_BINARY_DIR) / "purchasing-png";
    std::filesystem::create_directories(folder);
    return (folder / name).string();
}

inline std::vector<std::string> list_rows(HWND dlg, int id, UINT count_msg = LB_GETCOUNT, UINT text_msg = LB_GETTEXT)
{
    std::vector<std::string> rows;
    const HWND list = GetDlgItem(dlg, id);
    const int n = static_cast<int>(SendMessage(list, count_msg, 0, 0));
    for (int i = 0; i < n; ++i) {
        char row[256] = {};
        SendMessage(list, text_msg, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(row));
        rows.emplace_back(row);
    }
    return rows;
}

using Table = std::vector<std::vector<std::string>>;

// Every cell's text, row by row.
inline Table cells(CGrid& g)
{
    Table out;
    for (int r = 0; r < g.GetRowCount(); ++r) {
        out.emplace_back();
        for (int c = 0; c < g.GetColumnCount(); ++c)
            out.back().push_back(g.GetCellText(r, c));
    }
    return out;
}

inline std::vector<std::string> box_texts(const ScriptedHost& host)
{
    std::vector<std::string> out;
    for (const BoxRecord& b : host.boxes())
        out.push_back(b.caption + "|" + b.text);
    return out;
}

} // namespace prc_test
