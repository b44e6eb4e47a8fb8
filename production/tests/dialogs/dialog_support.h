// What the Production dialog tests share: the templates registered once,
// clicks, list rows and the PNG folder.
#pragma once
#include "../support/sim.h"
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

namespace dialog_support {

using namespace plat;

class ProductionDialogs : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        InitGui();
        const HINSTANCE module = RegisterModule("PRODTEST.EXE", nullptr);
        register_production_templates(module);
        AfxSetResourceHandle(module);
    }
    void TearDown() override { ResetWindowsForTest(); }
};

inline void click(HWND dlg, int id)
{
    SendMessage(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), static_cast<LPARAM>(GetDlgItem(dlg, id)));
}

inline std::string png(const std::string& name)
{
    const std::filesystem::path folder = std::filesystem::path(VORN_BINARY_DIR) / "production-png";
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

struct Decision {
    std::string key, object, old_value, new_value;
    int kind, flag;
};

// The sample with A1's orders released and work waiting at M1.
struct Floor : Sim {
    std::vector<Decision> decisions;
    DecisionLog log = [this](const char* key, const std::string& object, const std::string& old_value,
                             const std::string& new_value, int kind, int flag) {
        decisions.push_back({key, object, old_value, new_value, kind, flag});
    };
    Floor()
    {
        exact_work_orders();
        purchasing.stock[0] = purchasing.stock[1] = 1000;
        seed_u1();
        for (int16_t q : {6, 4})
            prod.add_order(0, 0, q, ORDER_CUSTOMER, KIND_PRODUCT, 5);
    }
    // Runs until a machine has the given number of waiting records.
    bool run_until_waiting(int machine, size_t n)
    {
        for (int i = 0; i < 3 * 480; ++i) {
            if (prod.Machines[static_cast<size_t>(machine)]->Waiting_WOs_Data.size() >= n)
                return true;
            minute();
        }
        return false;
    }
};

} // namespace dialog_support
