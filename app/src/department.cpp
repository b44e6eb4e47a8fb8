// The department interface's defaults and the menu options.
#include "app/department.h"
#include "foundation/binfile.h"
#include "foundation/datafile.h"
#include "foundation/msgbox.h"
#include "plat/window.h"
#include <cstdio>
#include <cstring>

CDepartmentWnd::CDepartmentWnd() = default;
CDepartmentWnd::~CDepartmentWnd() = default;

void CDepartmentWnd::show()
{
    visible_ = 1;
    if (window_)
        window_->show(true);
}

void CDepartmentWnd::hide()
{
    visible_ = 0;
    if (window_)
        window_->show(false);
}

void CDepartmentWnd::ShowLinkButton(int show, int kind)
{
    if (window_)
        window_->show_link_button(show, kind);
}

void CDepartmentWnd::set_window(std::unique_ptr<DepartmentWindow> window) { window_ = std::move(window); }

void CDepartmentWnd::invalidate(const plat::RECT* area, bool erase)
{
    if (const plat::HWND w = window_handle(); w != 0)
        plat::InvalidateRect(w, area, erase ? 1 : 0);
}
BOOL16 CDepartmentWnd::daily_step(int16_t) { return 1; }
void CDepartmentWnd::build_menus(DepartmentMenus&) {}
void CDepartmentWnd::save_state(BinFile&) {}
bool CDepartmentWnd::load_state(BinFile&) { return true; }
void CDepartmentWnd::save_tail(BinFile&) {}
bool CDepartmentWnd::load_tail(BinFile&) { return true; }
void CDepartmentWnd::on_menu_command(int) {}
void CDepartmentWnd::on_hour(int) {}
void CDepartmentWnd::hold_entered(bool) {}
bool CDepartmentWnd::profit_figures(char, ProfitFigures&) { return false; }
int32_t CDepartmentWnd::net_profit(char) { return 0; }
void CDepartmentWnd::product_marks(std::vector<ProductMark>&) {}
void CDepartmentWnd::finished_goods(std::vector<FinishedGoodsRow>&) {}
int32_t CDepartmentWnd::unit_added_value(int16_t, int16_t) { return 0; }
int32_t CDepartmentWnd::fg_value(bool) { return 0; }
void CDepartmentWnd::write_policies(RecordWriter&) {}
void CDepartmentWnd::read_policies(RecordReader&) {}

void CDepartmentWnd::set_names(const std::string& name, const std::string& title)
{
    name_ = name;
    title_ = title;
}

static void menu_item_error(int16_t record, int16_t item)
{
    DataFilePosition& pos = data_file_position();
    pos.topic = 1;
    pos.record = record;
    pos.item = item;
    data_load_error(LOAD_ITEM);
}

void CDepartmentWnd::LoadMenuOptions(DataFile& file)
{
    options_[MENU_INFORMATION].count = 0;
    std::string section_name = name_ + " Menus";
    std::string text;
    if (!find_section(file, section_name.c_str(), text, 0))
        return;

    // The texts the options index: the department's full lists.
    DepartmentMenus scratch;
    build_menus(scratch);

    for (int menu = MENU_INFORMATION; menu <= MENU_POLICIES; ++menu) {
        int16_t record = static_cast<int16_t>(menu + 1);
        std::string rec;
        get_record(1, record, text, rec);
        int32_t n = get_item_int(1, rec);
        if (n < 0 || n > MAX_MENU_OPTIONS)
            menu_item_error(record, 1);
        MenuOptionList list;
        for (int i = 1; i <= n; ++i) {
            int16_t item = static_cast<int16_t>(i + 1);
            int32_t option = get_item_int(item, rec);
            // An option beyond the texts would show one text and run another.
            // A department without texts of its own (the base standing in
            // for one not built yet) shows nothing whatever the options say.
            int16_t texts = scratch.tables[menu].count;
            if (option < 1 || (texts > 0 && option > texts))
                menu_item_error(record, item);
            list.entries[i] = static_cast<int16_t>(option);
        }
        list.count = static_cast<int16_t>(n);
        options_[menu] = list;
    }
}

void CDepartmentWnd::SelectMenuTexts(DepartmentMenus& menus) const
{
    for (int menu = MENU_INFORMATION; menu <= MENU_POLICIES; ++menu) {
        MenuTable& table = menus.tables[menu];
        const MenuTable snapshot = table;
        const MenuOptionList& list = options_[menu];
        int16_t taken = 0;
        for (int i = 1; i <= list.count; ++i) {
            int16_t o = list.entries[i];
            if (o >= 1 && o <= snapshot.count && o < MENU_TABLE_TEXTS) {
                table.texts[i] = snapshot.texts[o];
                ++taken;
            }
        }
        table.count = taken;
    }
}

int CDepartmentWnd::translate_menu_options(int command_id) const
{
    int cls = command_id / 100;
    int position = command_id % 100;
    if (cls < 3 || cls > 5 || position < 1 || position > MAX_MENU_OPTIONS)
        fatal_error("Invalid ret val in translate_menu_options");
    const MenuOptionList& list = options_[cls - 3];
    return cls * 100 + list.entries[position];
}
