// The Production department in a session and its screen services.
#include "production/production_dept.h"
#include "app/sim_host.h"
#include "app/view.h"
#include "foundation/binfile.h"
#include "foundation/lang.h"
#include "foundation/msgbox.h"
#include "plat/uihost.h"
#include "production/datafile_source.h"
#include "production/production_dialogs.h"
#include "production/production_wnd.h"
#include "session_ui.h"
#include "uikit/info_tip.h"
#include <iterator>
#include <string>
#include <vector>

int ProductionDepartment::SessionUi::schedule_end(int machine)
{
    return dept_.schedule_end_hook ? dept_.schedule_end_hook(machine) : dept_.ask_schedule_end(machine);
}

void ProductionDepartment::SessionUi::message(std::string_view text, std::string_view caption, int icon)
{
    if (dept_.message_hook) {
        dept_.message_hook(text, caption, icon);
        return;
    }
    lang_message_box(0, std::string(text).c_str(), std::string(caption).c_str(),
                     plat::MB_OK | static_cast<plat::UINT>(icon));
}

void ProductionDepartment::SessionUi::fatal(std::string_view text) { fatal_error(std::string(text).c_str()); }

ProductionDepartment::ProductionDepartment(CVornView& view)
    : host_(std::make_unique<ViewSimHost>(view)), ui_(std::make_unique<SessionUi>(*this, view))
{
    set_view(&view);
}

ProductionDepartment::~ProductionDepartment()
{
    // The popup goes with the department even when its window was not taken down first.
    if (info_tip_ && program_info_tip() == info_tip_.get())
        set_program_info_tip(nullptr);
}

void ProductionDepartment::connect(const DepartmentLinks& links)
{
    if (!engine_) {
        engine_ = std::make_unique<CProductionWnd>(*host_, *ui_, *links.marketing, *links.purchasing, *links.finance);
        return;
    }
    engine_->marketing = links.marketing;
    engine_->purchasing = links.purchasing;
    engine_->finance = links.finance;
}

void ProductionDepartment::on_new_year() { engine_->on_new_year(); }
void ProductionDepartment::on_new_month() { engine_->on_new_month(); }
void ProductionDepartment::on_new_week() { engine_->on_new_week(); }

BOOL16 ProductionDepartment::daily_step(int16_t restart_code)
{
    // Production never holds the run: its daily step always answers TRUE.
    engine_->daily_step(restart_code);
    return 1;
}

void ProductionDepartment::on_minute() { engine_->on_minute(); }
void ProductionDepartment::on_hour(int) { engine_->on_hour(); }

void ProductionDepartment::build_menus(DepartmentMenus& menus)
{
    static const char* const information[] = {
        "&Machine information", "Machines utilization", "Machine time &graph", "Mac&hine materials",
        "Machines total &load (in hours)", "&Jobs information", "Mach&ines waiting WOs", "Work or&der status",
        "&Routing diagram", "Master pr&oduction schedule", "Raw material re&lease", "Production &times",
        "Rough &Cut capacity", "MR&P load profile", "&WO lead time statistics", "&All products routing",
        "&Xmrp raw m release", "&Unassigned common parts ",
    };
    static const char* const actions[] = {
        "&Display frequency", "Immediate WO &creation", "&Set unit manually", "M&anual scheduling",
        "Production &order", "&Forecast range", "&Edit forecast", "&Remove work order", "&MRP lead time",
        "&Buy machine unit", "&Unit shutdown", "Product P&LT", "Man&ual Release", "Add &Extra shift",
    };
    static const char* const policies[] = {
        "&Raw material release", "&Machine policy", "&Transport policy", "&Work order planning",
        "&Scheduling options", "Red &level policy", "&Assemble to order", "Work order &kit",
        "&Planning for contracts", "Make or buy &decision", "Recommended &batch size", "Pr&oduct priority",
        "DBR &Constraint",
    };
    auto fill = [](MenuTable& table, const char* const* texts, int n) {
        int i = 0;
        for (; i < n && i + 1 < MENU_TABLE_TEXTS; ++i)
            table.texts[static_cast<size_t>(i + 1)] = lang_translate(texts[i]);
        table.count = static_cast<int16_t>(i);
    };
    fill(menus.tables[MENU_INFORMATION], information, static_cast<int>(std::size(information)));
    fill(menus.tables[MENU_ACTIONS], actions, static_cast<int>(std::size(actions)));
    fill(menus.tables[MENU_POLICIES], policies, static_cast<int>(std::size(policies)));
}

void ProductionDepartment::save_state(BinFile& file)
{
    const std::vector<uint8_t> bytes = engine_->save_state_bytes();
    // A short write leaves the file's error set; its Close reports it and the save is refused.
    file.Write(bytes.data(), static_cast<int32_t>(bytes.size()));
}

bool ProductionDepartment::load_state(BinFile& file)
{
    const int32_t start = file.Tell();
    const int32_t length = start < 0 ? -1 : file.Length() - start;
    if (length < 0)
        return false;
    std::vector<uint8_t> bytes(static_cast<size_t>(length));
    if (length > 0 && file.Read(bytes.data(), length) != length)
        return false;
    std::string error;
    size_t used = 0;
    if (engine_->load_state_bytes(bytes, error, &used))
        // The file's tail follows the plant part.
        return file.SeekTo(start + static_cast<int32_t>(used));
    ui_->message(error, "Application Error", static_cast<int>(plat::MB_ICONSTOP));
    return false;
}

// The work-order counter: without it a resumed plant would number its next
// work orders after the last one still open, not after the last one made.
void ProductionDepartment::save_tail(BinFile& file)
{
    file.WriteI16(static_cast<int16_t>(engine_->wo_counter));
}

bool ProductionDepartment::load_tail(BinFile& file)
{
    const int16_t counter = file.ReadI16();
    if (file.Failed() || counter < 1 || counter > 999)
        return false;
    engine_->wo_counter = static_cast<uint16_t>(counter);
    return true;
}

void ProductionDepartment::load_data()
{
    DataFile* file = view_ != nullptr ? view_->data_file() : nullptr;
    if (file == nullptr)
        return;
    DataFilePlantData data(*file);
    engine_->load_production_data(data);
}

void ProductionDepartment::after_load() { engine_->after_data_loaded(); }

int16_t ProductionDepartment::display_frequency()
{
    return static_cast<int16_t>(engine_->get_display_frequency());
}

float ProductionDepartment::utilization_factor() { return engine_->get_utilization_factor(); }

void ProductionDepartment::add_order(int16_t family, int16_t product, int16_t quantity, int16_t order_type,
                                     int16_t item_kind, int16_t lead_days, int32_t unused1, int32_t unused2)
{
    // A product the plant does not make (a market product without a route) has nowhere to go.
    if (item_kind == KIND_PRODUCT && engine_->find_product(family, product) == NONE16)
        return;
    engine_->add_order(family, product, quantity, order_type, item_kind, lead_days, unused1, unused2);
}

void ProductionDepartment::reduce_production_orders(int16_t family, int16_t product, int16_t quantity)
{
    engine_->reduce_production_orders(family, product, quantity);
}

int16_t ProductionDepartment::get_on_order_units(int16_t family, int16_t product)
{
    return engine_->get_on_order_units(family, product);
}

int32_t ProductionDepartment::get_standard_material_cost(int16_t family, int16_t product)
{
    return engine_->get_standard_material_cost(family, product);
}

int ProductionDepartment::count_active_units() { return engine_->count_active_units(); }

bool ProductionDepartment::activate_new_product(int family, int product)
{
    return engine_->activate_new_product(family, product);
}

void ProductionDepartment::get_material_requirements(std::vector<MaterialRequirement>& list)
{
    engine_->get_material_requirements(list);
}

bool ProductionDepartment::deactivate_new_product(int16_t family, int16_t product)
{
    return engine_->deactivate_new_product(family, product);
}

float ProductionDepartment::get_material_cost_of_product(int16_t family, int16_t product)
{
    return engine_->get_material_cost_of_product(family, product);
}

int16_t ProductionDepartment::get_num_materials_in_product(int16_t family, int16_t product, int material_family,
                                                           int material)
{
    return engine_->get_num_materials_in_product(family, product, material_family, material);
}

void ProductionDepartment::on_product_retired(int family, int product) { engine_->on_product_retired(family, product); }

int32_t ProductionDepartment::get_process_minutes_per_unit(int16_t family, int16_t product)
{
    return engine_->get_process_minutes_per_unit(family, product);
}

void ProductionDepartment::on_link_mode_changed() { engine_->on_link_mode_changed(); }
void ProductionDepartment::net_forecast_requirements() { engine_->net_forecast_requirements(); }
void ProductionDepartment::spread_forecast(int raise_only) { engine_->spread_forecast(raise_only); }
int16_t ProductionDepartment::extra_shift_days() { return engine_->extra_shift_days; }
int16_t ProductionDepartment::raw_material_release_policy() { return engine_->release_policy; }

int32_t ProductionDepartment::policies_size() { return engine_ ? engine_->policies_size() : 0; }

void ProductionDepartment::write_policies(RecordWriter& out)
{
    if (engine_)
        engine_->write_policies(out);
}

void ProductionDepartment::read_policies(RecordReader& in)
{
    if (!engine_)
        return;
    std::vector<uint8_t> block(static_cast<size_t>(engine_->policies_size()));
    in.raw(block.data(), block.size());
    RecordReader mine(block.data(), block.size());
    engine_->read_policies(mine);
}

void ProductionDepartment::apply_loaded_policies()
{
    if (engine_)
        engine_->apply_release_policy();
}
