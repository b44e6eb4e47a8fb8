// The Production department in a session, its headless screen services and
// the neighbours that stand in until their departments exist.
#include "production/production_dept.h"
#include "app/sim_host.h"
#include "app/view.h"
#include "foundation/binfile.h"
#include "foundation/lang.h"
#include "foundation/msgbox.h"
#include "plat/uihost.h"
#include "production/datafile_source.h"
#include "production/production_wnd.h"
#include <iterator>
#include <string>
#include <vector>

void StandInMarketing::find_product_by_code(const char* code, uint16_t& family, uint16_t& product)
{
    const bool known = code != nullptr && code[0] == 'A' && code[1] == '1';
    family = known ? 0 : NONE16;
    product = known ? 0 : NONE16;
}

void StandInMarketing::update_product_stock(int, int, int units, int, int)
{
    delivered += units;
}

void StandInPurchasing::find_material_by_code(const char* code, uint16_t& family, uint16_t& material)
{
    family = material = NONE16;
    if (code != nullptr && code[0] == 'X' && (code[1] == 'A' || code[1] == 'B')) {
        family = 0;
        material = code[1] == 'A' ? 0 : 1;
    }
}

int16_t StandInPurchasing::get_stock(int family, int material)
{
    return family == 0 && (material == 0 || material == 1) ? stock[material] : 0;
}

void StandInPurchasing::add_stock(int family, int material, int quantity, int)
{
    if (family == 0 && (material == 0 || material == 1))
        stock[material] = static_cast<int16_t>(stock[material] + quantity);
}

void StandInPurchasing::add_unsupplied_units(int family, int material, int units)
{
    if (family == 0 && (material == 0 || material == 1))
        unsupplied[material] += units;
}

// No painter: machine boxes are drawn by the window once it exists.
class ProductionDepartment::SessionUi : public ProductionUi {
public:
    SessionUi(ProductionDepartment& dept, CVornView& view) : dept_(dept), view_(view) {}
    bool shown() const override { return dept_.visible() != 0; }
    Painter* painter() override { return nullptr; }
    void redraw_machine(int) override {}
    int schedule_end(int machine) override
    {
        return dept_.schedule_end_hook ? dept_.schedule_end_hook(machine) : 0;
    }
    void message(std::string_view text, std::string_view caption, int icon) override
    {
        if (dept_.message_hook) {
            dept_.message_hook(text, caption, icon);
            return;
        }
        lang_message_box(0, std::string(text).c_str(), std::string(caption).c_str(),
                         plat::MB_OK | static_cast<plat::UINT>(icon));
    }
    [[noreturn]] void fatal(std::string_view text) override { fatal_error(std::string(text).c_str()); }
    float scale_x() const override { return view_.scale_x; }
    float scale_y() const override { return view_.scale_y; }

private:
    ProductionDepartment& dept_;
    CVornView& view_;
};

ProductionDepartment::ProductionDepartment(CVornView& view, std::unique_ptr<CDepartmentWnd> shell)
    : shell_(std::move(shell)),
      host_(std::make_unique<ViewSimHost>(view)),
      ui_(std::make_unique<SessionUi>(*this, view)),
      engine_(std::make_unique<CProductionWnd>(*host_, *ui_, marketing_, purchasing_, finance_))
{
    set_view(&view);
    if (shell_)
        shell_->set_view(&view);
}

ProductionDepartment::~ProductionDepartment() = default;

void ProductionDepartment::show()
{
    CDepartmentWnd::show();
    if (shell_) {
        // The view names this department, not the panel behind it.
        shell_->set_names(name(), title());
        shell_->show();
    }
}

void ProductionDepartment::hide()
{
    CDepartmentWnd::hide();
    if (shell_)
        shell_->hide();
}

// The link buttons live on the panel behind this department.
void ProductionDepartment::ShowLinkButton(int show, int kind)
{
    if (shell_)
        shell_->ShowLinkButton(show, kind);
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
    const std::vector<uint8_t> bytes = engine_->save_plant();
    // A short write leaves the file's error set; its Close reports it and the save is refused.
    file.Write(bytes.data(), static_cast<int32_t>(bytes.size()));
}

bool ProductionDepartment::load_state(BinFile& file)
{
    const int32_t length = file.Length();
    if (length < 0)
        return false;
    std::vector<uint8_t> bytes(static_cast<size_t>(length));
    if (length > 0 && file.Read(bytes.data(), length) != length)
        return false;
    std::string error;
    if (engine_->load_plant(bytes, error))
        return true;
    ui_->message(error, "Application Error", static_cast<int>(plat::MB_ICONSTOP));
    return false;
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

std::unique_ptr<CDepartmentWnd> make_production_department(CVornView& view, std::unique_ptr<CDepartmentWnd> shell)
{
    return std::make_unique<ProductionDepartment>(view, std::move(shell));
}
