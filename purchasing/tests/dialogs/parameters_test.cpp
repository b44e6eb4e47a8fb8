// Edit Material Parameters over the sample's materials, edited by clicks on
// the grid: the policy's columns, values past 16 bits or below 0 refused
// with the editor back on the cell, one record per changed value, and MRP
// ordering after OK under MRP.
#include "dialog_support.h"
#include "plat/msg.h"

using namespace prc_test;

namespace {

// Clicks the cell and types into the editor it opens.
void type_cell(HWND dlg, CGrid& grid, int row, int col, const char* text)
{
    click_at(dlg, grid.GetCellRect(row, col));
    ASSERT_NE(grid.GetEditor(), nullptr);
    ASSERT_EQ(grid.GetEditedRow(), row);
    ASSERT_EQ(grid.GetEditedColumn(), col);
    grid.GetEditor()->SetWindowText(text);
}


TEST_F(PurchasingDialogs, MaterialParametersShowTheOrderLevelColumnsAndStoreEachChange)
{
    Desk d;
    ScriptedHost host;
    Table shown;
    int edited_row = -1, edited_col = -1;
    CMaterialParametersDlg dlg(d.p, nullptr);
    host.OnDialog(IDD_PRC_MATERIAL_PARAMETERS, [&](HWND w) {
        CGrid& g = dlg.grid();
        edited_row = g.GetEditedRow();
        edited_col = g.GetEditedColumn();
        g.EndEdit();
        shown = cells(g);
        type_cell(w, g, 0, 1, "360");   // XA order level
        type_cell(w, g, 2, 2, "0");     // YA red line level
        type_cell(w, g, 1, 0, "500");   // XB max level, as it was
        EXPECT_TRUE(SaveWindowPng(w, png("material_parameters.png").c_str()));
        click(w, IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(edited_row, 0) << "the first cell opens for editing";
    EXPECT_EQ(edited_col, 0);
    EXPECT_EQ(shown, (Table{
                         {"800", "350", "100"}, {"500", "200", "60"}, {"800", "300", "100"}}));
    EXPECT_EQ(d.xa().order_level, 360);
    EXPECT_EQ(d.ya().red_line_level, 0);
    EXPECT_EQ(d.xb().max_level, 500);
    EXPECT_EQ(d.decisions, (Decisions{{"PrcOrdLevel", "XA", "350", "360"}, {"PrcRedLevel", "YA", "100", "0"}}));
    EXPECT_TRUE(host.boxes().empty());
}

// "40000" would wrap to -25536 in 16 bits: refused like a negative figure,
// with the editor on the cell and nothing stored, the good cell included.
TEST_F(PurchasingDialogs, MaterialParametersRefuseValuesNoLevelCanHold)
{
    for (const char* bad : {"40000", "-1", "-40000"}) {
        SCOPED_TRACE(bad);
        Desk d;
        ScriptedHost host;
        host.Answer(IDOK, "");
        bool open_after = false;
        int row = -1, col = -1;
        CMaterialParametersDlg dlg(d.p, nullptr);
        host.OnDialog(IDD_PRC_MATERIAL_PARAMETERS, [&](HWND w) {
            CGrid& g = dlg.grid();
            type_cell(w, g, 0, 0, "900");
            type_cell(w, g, 1, 2, bad);
            click(w, IDOK);
            open_after = IsWindowVisible(w) != 0;
            row = g.GetEditedRow();
            col = g.GetEditedColumn();
            click(w, IDCANCEL);
        });
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_TRUE(open_after);
        EXPECT_EQ(row, 1);
        EXPECT_EQ(col, 2);
        EXPECT_EQ(box_texts(host), std::vector<std::string>{"Edit Material Parameters|Invalid value!"});
        EXPECT_EQ(d.xa().max_level, 800);
        EXPECT_EQ(d.xb().red_line_level, 60);
        EXPECT_TRUE(d.decisions.empty());
    }
}

// Under MRP the columns are the safety stock, the red-line time and level;
// OK orders what the new safety stock asks for at once.
TEST_F(PurchasingDialogs, MaterialParametersUnderMrpTakeTheMrpColumnsAndOrder)
{
    Desk d;
    d.p.policy = POLICY_MRP;
    d.p.safety_stock[0][1] = 20;
    d.p.red_line_time[1][0] = 3;
    ScriptedHost host;
    Table shown;
    host.OnDialog(IDD_PRC_MATERIAL_PARAMETERS, [&](HWND w) {
        auto* dlg = dynamic_cast<CMaterialParametersDlg*>(CWnd::FromHandle(w));
        ASSERT_NE(dlg, nullptr);
        CGrid& g = dlg->grid();
        g.EndEdit();
        shown = cells(g);
        type_cell(w, g, 0, 0, "450");   // XA safety stock above its 400 in stock
        type_cell(w, g, 2, 1, "4");
        click(w, IDOK);
    });
    run_material_parameters(d.p, nullptr);
    EXPECT_EQ(shown, (Table{
                         {"0", "0", "100"}, {"20", "0", "60"}, {"0", "3", "100"}}));
    EXPECT_EQ(d.p.safety_stock[0][0], 450);
    EXPECT_EQ(d.p.red_line_time[1][0], 4);
    EXPECT_EQ(d.decisions, (Decisions{{"PrcSafetyStock", "XA", "0", "450"}, {"PrcRedLineTime", "YA", "3", "4"}}));
    // No plan: the projection is the stock, 50 short of the safety stock.
    ASSERT_EQ(d.p.orders.size(), 1u);
    EXPECT_EQ(d.p.orders[0].family, 0);
    EXPECT_EQ(d.p.orders[0].material, 0);
    EXPECT_EQ(d.p.orders[0].quantity, 50);

    // Cancel changes nothing and orders nothing.
    host.OnDialog(IDD_PRC_MATERIAL_PARAMETERS, [&](HWND w) {
        auto* dlg = dynamic_cast<CMaterialParametersDlg*>(CWnd::FromHandle(w));
        type_cell(w, dlg->grid(), 1, 0, "900");
        click(w, IDCANCEL);
    });
    run_material_parameters(d.p, nullptr);
    EXPECT_EQ(d.p.safety_stock[0][1], 20);
    EXPECT_EQ(d.p.orders.size(), 1u);
    EXPECT_EQ(d.decisions.size(), 2u);
}

TEST_F(PurchasingDialogs, MaterialParametersOpenNoEditorWithTheManagementFeature)
{
    Desk d;
    d.view.management_feature = 1;
    ScriptedHost host;
    bool editing = true;
    CMaterialParametersDlg dlg(d.p, nullptr);
    host.OnDialog(IDD_PRC_MATERIAL_PARAMETERS, [&](HWND w) {
        editing = dlg.grid().GetEditor() != nullptr;
        click(w, IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_FALSE(editing);
    EXPECT_TRUE(d.decisions.empty());
}

} // namespace
