// The Purchasing department in a session and its headless screen services.
#include "purchasing/purchasing_dept.h"
#include "purchasing/purchasing_dialogs.h"
#include "app/view.h"
#include "foundation/binfile.h"
#include "foundation/lang.h"
#include "foundation/msgbox.h"
#include "plat/uihost.h"
#include <iterator>

class PurchasingDepartment::SessionUi : public PurchasingUi {
public:
    explicit SessionUi(PurchasingDepartment& dept) : dept_(dept) {}
    void redraw_material(int kind, int family, int material) override
    {
        if (!dept_.visible())
            return;
        if (dept_.redraw_hook)
            dept_.redraw_hook(kind, family, material);
        dept_.redraw_material(kind, family, material);
    }
    int ask_contract_end(const PurchaseContract& contract) override
    {
        if (dept_.contract_end_hook)
            return dept_.contract_end_hook(contract);
        const int choice = ask_contract_end_dialog(dept_, contract);
        return choice != 0 ? choice : CONTRACT_RENEW;
    }
    void box(std::string_view text, std::string_view caption) override
    {
        if (dept_.message_hook) {
            dept_.message_hook(text, caption);
            return;
        }
        lang_message_box(0, std::string(text).c_str(), std::string(caption).c_str(), plat::MB_OK | plat::MB_ICONSTOP);
    }

private:
    PurchasingDepartment& dept_;
};

PurchasingDepartment::PurchasingDepartment(CVornView& view)
    : ui_(std::make_unique<SessionUi>(*this)), engine_(std::make_unique<CPurchasingWnd>(view, *ui_))
{
    set_view(&view);
}

PurchasingDepartment::~PurchasingDepartment() = default;

void PurchasingDepartment::load_data()
{
    if (DataFile* file = view_->data_file())
        engine_->load_data(*file);
}

void PurchasingDepartment::on_new_month() { engine_->on_new_month(); }
BOOL16 PurchasingDepartment::daily_step(int16_t restart_code) { return engine_->daily_step(restart_code) ? 1 : 0; }
void PurchasingDepartment::resume_step() { engine_->resume_step(); }
void PurchasingDepartment::prepare_show() { engine_->policy_changed(); }

void PurchasingDepartment::build_menus(DepartmentMenus& menus)
{
    static const char* const information[] = {
        "&Material information", "&Red line statistics", "&Packages list", "C&onsumed units graph",
        "&Suppliers average lead time", "Purchasing &forecast Ctrl+F", "Co&nsumption summary",
        "M&easurements summary", "O&pen orders from vendors", "MRP &list", "&Unsupplied units",
        "U&nsupplied units history",
    };
    static const char* const actions[] = {"&Order", "&Packages", "&Suppliers"};
    static const char* const policies[] = {"&Material parameters", "&Purchasing policy"};
    // A state of the oldest version knows the first nine reports and one policy.
    const bool oldest = view_ != nullptr && view_->session_open && view_->IsOldestStateVersion() != 0;
    auto fill = [](MenuTable& table, const char* const* texts, int n) {
        int i = 0;
        for (; i < n && i + 1 < MENU_TABLE_TEXTS; ++i)
            table.texts[static_cast<size_t>(i + 1)] = lang_translate(texts[i]);
        table.count = static_cast<int16_t>(i);
    };
    fill(menus.tables[MENU_INFORMATION], information, oldest ? 9 : static_cast<int>(std::size(information)));
    fill(menus.tables[MENU_ACTIONS], actions, static_cast<int>(std::size(actions)));
    fill(menus.tables[MENU_POLICIES], policies, oldest ? 1 : static_cast<int>(std::size(policies)));
}

void PurchasingDepartment::save_state(BinFile& file)
{
    const std::vector<uint8_t> bytes = engine_->save_state_bytes();
    // A short write leaves the file's error set; its Close reports it.
    if (!bytes.empty())
        file.Write(bytes.data(), static_cast<int32_t>(bytes.size()));
}

bool PurchasingDepartment::load_state(BinFile& file)
{
    const int32_t length = file.Length();
    if (length < 0)
        return false;
    std::vector<uint8_t> bytes(static_cast<size_t>(length));
    if (length > 0 && file.Read(bytes.data(), length) != length)
        return false;
    return engine_->load_state_bytes(bytes);
}

int32_t PurchasingDepartment::policies_size() { return engine_->policies_size(); }
void PurchasingDepartment::write_policies(RecordWriter& out) { engine_->write_policies(out); }

// A block the department cannot hold is passed over whole.
void PurchasingDepartment::read_policies(RecordReader& in)
{
    std::vector<uint8_t> block(static_cast<size_t>(engine_->policies_size()));
    in.raw(block.data(), block.size());
    RecordReader mine(block.data(), block.size());
    engine_->read_policies(mine);
}

void PurchasingDepartment::apply_loaded_policies() { engine_->apply_purchasing_policy(); }

void PurchasingDepartment::on_menu_command(int command_id)
{
    if (run_information_command(command_id))
        return;
    run_purchasing_dialog_command(*this, command_id);
}

void PurchasingDepartment::edit_policy(int which)
{
    if (which == POLICY_MATERIAL_PARAMETERS)
        edit_material_parameters(*this);
}
