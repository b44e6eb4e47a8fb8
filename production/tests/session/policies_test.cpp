// Production's blocks in the session's policies file: saved and loaded
// through the view with the program's departments.
#include "app/view.h"
#include "production/production_dept.h"
#include "production/production_wnd.h"
#include "support/bundled_data.h"
#include "support/driver.h"
#include "vorn/assembly.h"
#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace fs = std::filesystem;

TEST(ProductionPoliciesFile, SavedSettingsComeBackAndThePolicyIsAppliedAgain)
{
    const std::string data_dir = bundled_data_copy();
    DriverOptions o;
    o.workdir = data_dir;
    o.config.timer_enabled = false;
    o.factory = department_assembly();
    SessionDriver d;
    ASSERT_TRUE(d.start(data_dir + "/SAMPLE.VNB", o));
    auto* production = dynamic_cast<ProductionDepartment*>(d.view().production);
    ASSERT_NE(production, nullptr);
    CProductionWnd& plant = production->engine();

    plant.wo_planning_mode = 1;
    plant.wo_planning_parameter = 4;
    plant.min_wo_quantity = 12;
    plant.Machines[1]->rule = RULE_EDD;
    plant.Machines[0]->acceptance = 0;
    plant.release_policy = 1;
    plant.mrp_lead_time_minutes = 960;
    plant.shipping_buffer_hours = 9;
    plant.contract_factor = 2.5f;
    const fs::path folder = fs::path(VORN_BINARY_DIR) / "production-work" / "policies";
    fs::create_directories(folder);
    const std::string file = (folder / "settings.plc").string();
    ASSERT_TRUE(d.view().SavePolicies(file));

    plant.wo_planning_mode = 0;
    plant.wo_planning_parameter = 1;
    plant.min_wo_quantity = 0;
    plant.Machines[1]->rule = RULE_FIFO;
    plant.Machines[0]->acceptance = 1;
    plant.release_policy = 0;
    plant.mrp_lead_time_minutes = 0;
    plant.shipping_buffer_hours = 0;
    plant.contract_factor = 1.0f;
    for (auto& m : plant.Machines)
        m->schedule_option = 0;
    ASSERT_TRUE(d.view().LoadPolicies(file));
    EXPECT_EQ(plant.wo_planning_mode, 1);
    EXPECT_EQ(plant.wo_planning_parameter, 4);
    EXPECT_EQ(plant.min_wo_quantity, 12);
    EXPECT_EQ(plant.Machines[1]->rule, RULE_EDD);
    EXPECT_EQ(plant.Machines[0]->acceptance, 0);
    EXPECT_EQ(plant.release_policy, 1);
    EXPECT_EQ(plant.mrp_lead_time_minutes, 960);
    EXPECT_EQ(plant.shipping_buffer_hours, 9);
    EXPECT_EQ(plant.contract_factor, 2.5f);
    // MRP again in force: its lead time given out, machines scheduling as possible.
    for (auto& m : plant.Machines)
        EXPECT_EQ(m->schedule_option, 1);
    for (auto& p : plant.Products)
        EXPECT_EQ(p->mrp_lead_time, 960);
    // Saved again, the same bytes.
    const std::string again = (folder / "again.plc").string();
    ASSERT_TRUE(d.view().SavePolicies(again));
    auto bytes = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::vector<char>(std::istreambuf_iterator<char>(in), {});
    };
    EXPECT_FALSE(bytes(file).empty());
    EXPECT_EQ(bytes(file), bytes(again));
}
