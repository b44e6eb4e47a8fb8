// Suppliers and Change Supplier over the sample's suppliers: the price
// table, a click on a seller's cell changes the working copy only, OK
// writes the changes back with a record each and the default suppliers'
// leads and prices, a non-seller is never taken.
#include "dialog_support.h"
#include "plat/msg.h"

using namespace prc_test;

namespace {


CSuppliersDlg& suppliers_of(HWND w) { return *dynamic_cast<CSuppliersDlg*>(CWnd::FromHandle(w)); }

TEST_F(PurchasingDialogs, SuppliersClickChangesTheWorkingCopyAndOkWritesItBack)
{
    Desk d;
    ScriptedHost host;
    Table before, after_click, after_dash;
    host.OnDialog(IDD_PRC_SUPPLIERS, [&](HWND w) {
        CGrid& g = suppliers_of(w).grid();
        before = cells(g);
        click_at(w, g.GetCellRect(0, 4));   // Alpha sells XB
        after_click = cells(g);
        click_at(w, g.GetCellRect(1, 3));   // Beta does not sell XA
        click_at(w, g.GetCellRect(0, 1));   // not a material's column
        after_dash = cells(g);
        EXPECT_TRUE(SaveWindowPng(w, png("suppliers.png").c_str()));
        EXPECT_EQ(d.xb().default_supplier, 1) << "only the copy changes until OK";
        click(w, IDOK);
    });
    run_prc_suppliers(d.p, nullptr);
    EXPECT_EQ(before, (Table{{"Alpha Metals", "50", "10", "(C) 6", "10", "-------"},
                             {"Beta Supply", "30", "5", "-------", "(C) 9", "(C) 4"}}));
    EXPECT_EQ(after_click, (Table{{"Alpha Metals", "50", "10", "(C) 6", "(C) 10", "-------"},
                                  {"Beta Supply", "30", "5", "-------", "9", "(C) 4"}}));
    EXPECT_EQ(after_dash, after_click);
    EXPECT_EQ(d.xb().default_supplier, 0);
    EXPECT_EQ(d.xb().price, 10);
    EXPECT_EQ(d.xb().quoted_lead, 10);
    EXPECT_EQ(d.xb().lead_base, 10);
    EXPECT_EQ(d.xa().default_supplier, 0);
    EXPECT_EQ(d.decisions, (Decisions{{"Supplier", "XB", "1", "0"}}));
    EXPECT_TRUE(host.boxes().empty());

    // Cancel drops the copy; a click back to the current supplier is no change.
    host.OnDialog(IDD_PRC_SUPPLIERS, [&](HWND w) {
        CGrid& g = suppliers_of(w).grid();
        click_at(w, g.GetCellRect(1, 4));
        click(w, IDCANCEL);
    });
    run_prc_suppliers(d.p, nullptr);
    EXPECT_EQ(d.xb().default_supplier, 0);
    host.OnDialog(IDD_PRC_SUPPLIERS, [&](HWND w) {
        CGrid& g = suppliers_of(w).grid();
        click_at(w, g.GetCellRect(1, 4));
        click_at(w, g.GetCellRect(0, 4));
        click(w, IDOK);
    });
    run_prc_suppliers(d.p, nullptr);
    EXPECT_EQ(d.decisions.size(), 1u);
}

struct ChangeCase {
    const char* material;
    const char* number;
    const char* box;   // empty: taken
};

// The hidden button's dialog: unknown names and numbers, and a supplier
// that does not sell the material, keep it open; a good pair reaches the
// Suppliers dialog's copy.
TEST_F(PurchasingDialogs, ChangeSupplierTakesOnlyASellerOfTheMaterial)
{
    const ChangeCase cases[] = {
        {"ZZ", "1", "Change Supplier|Invalid material name: ZZ"},
        {"XC", "1", "Change Supplier|Invalid material name: XC"},
        {"XB", "7", "Change Supplier|Invalid supplier ID: 7"},
        {"XB", "x", "Change Supplier|Invalid supplier ID: x"},
        {"YA", "1", "Change Supplier|Supplier: Alpha Metals does not supply to material: YA"},
        {"XB", "1", ""},
    };
    for (const ChangeCase& c : cases) {
        SCOPED_TRACE(std::string(c.material) + " " + c.number);
        Desk d;
        ScriptedHost host;
        host.Answer(IDOK, "");
        std::vector<std::string> materials, numbers;
        bool open_after = false;
        Table table;
        host.OnDialog(IDD_PRC_CHANGE_SUPPLIER, [&](HWND w) {
            materials = list_rows(w, IDC_CHANGE_MATERIAL, CB_GETCOUNT, CB_GETLBTEXT);
            numbers = list_rows(w, IDC_CHANGE_SUPPLIER, CB_GETCOUNT, CB_GETLBTEXT);
            SetDlgItemText(w, IDC_CHANGE_MATERIAL, c.material);
            SetDlgItemText(w, IDC_CHANGE_SUPPLIER, c.number);
            click(w, IDOK);
            open_after = IsWindowVisible(w) != 0;
            if (open_after)
                click(w, IDCANCEL);
        });
        host.OnDialog(IDD_PRC_SUPPLIERS, [&](HWND w) {
            EXPECT_FALSE(IsWindowVisible(GetDlgItem(w, IDC_SUPPLIERS_CHANGE)));
            click(w, IDC_SUPPLIERS_CHANGE);
            table = cells(suppliers_of(w).grid());
            click(w, IDOK);
        });
        run_prc_suppliers(d.p, nullptr);
        EXPECT_EQ(materials, (std::vector<std::string>{"XA", "XB", "YA"}));
        EXPECT_EQ(numbers, (std::vector<std::string>{"1", "2"}));
        const bool taken = c.box[0] == 0;
        EXPECT_EQ(open_after, !taken);
        EXPECT_EQ(box_texts(host), taken ? std::vector<std::string>{} : std::vector<std::string>{c.box});
        ASSERT_EQ(table.size(), 2u);
        EXPECT_EQ(table[0][4], taken ? "(C) 10" : "10");
        EXPECT_EQ(d.xb().default_supplier, taken ? 0 : 1);
        EXPECT_EQ(d.decisions.size(), taken ? 1u : 0u);
        EXPECT_EQ(d.ya().default_supplier, 1);
    }
}

} // namespace
