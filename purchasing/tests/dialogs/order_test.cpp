// The Order dialog over the sample's materials and suppliers, driven
// through the layer: refusals keep the dialog and place nothing; an order
// through another supplier takes that supplier's lead and price for itself
// alone; the hidden button places it without the box.
#include "dialog_support.h"
#include "plat/msg.h"

using namespace prc_test;

namespace {

struct Typed {
    const char* material;
    const char* quantity;
    int supplier;
    const char* box;   // caption|text; empty: accepted
};

TEST_F(PurchasingDialogs, OrderRefusesWhatCannotBeOrderedAndStaysOpen)
{
    const Typed cases[] = {
        {"ZA", "40", 0, "Order|Invalid material name: ZA"},   // no such family
        {"XZ", "40", 0, "Order|Invalid material name: XZ"},   // a family without that material
        {"X", "40", 0, "Order|Invalid material name: X"},
        {"XA", "0", 0, "Order|Invalid quantity: 0"},
        {"XA", "-1", 0, "Order|Invalid quantity: -1"},
        {"XA", "40000", 0, "Order|Invalid quantity: 40000"},   // past what an order holds
        {"XA", "12abc", 0, "Order|Invalid quantity: 12abc"},
        {"XA", "", 0, "Order|Invalid quantity: "},
        {"YA", "40", 0, "Order|Supplier: Alpha Metals does not supply to material: YA"},
        {"XA", "40", 1, "Order|Supplier: Beta Supply does not supply to material: XA"},
    };
    for (const Typed& c : cases) {
        SCOPED_TRACE(std::string(c.material) + " " + c.quantity);
        Desk d;
        ScriptedHost host;
        host.Answer(IDOK, "");
        bool open_after = false;
        std::string left;
        host.OnDialog(IDD_PRC_ORDER, [&](HWND dlg) {
            SetDlgItemText(dlg, IDC_ORDER_MATERIAL, c.material);
            SetDlgItemText(dlg, IDC_ORDER_QTY, c.quantity);
            SendDlgItemMessage(dlg, IDC_ORDER_SUPPLIER, CB_SETCURSEL, static_cast<WPARAM>(c.supplier), 0);
            click(dlg, IDC_ORDER_BUTTON);
            open_after = IsWindowVisible(dlg) != 0;
            left = text_of(dlg, IDC_ORDER_QTY);
            click(dlg, IDCANCEL);
        });
        CPrcOrderDlg dlg(d.p, nullptr);
        dlg.DoModal();
        EXPECT_TRUE(open_after);
        EXPECT_EQ(box_texts(host), std::vector<std::string>{c.box});
        EXPECT_EQ(left, c.quantity) << "the text stays for correction";
        EXPECT_TRUE(d.p.orders.empty());
        EXPECT_TRUE(d.decisions.empty());
        EXPECT_EQ(d.p.suppliers[0].sample_count + d.p.suppliers[1].sample_count, 0);
    }
}

TEST_F(PurchasingDialogs, OrderOffersEveryMaterialAndSupplier)
{
    Desk d;
    ScriptedHost host;
    std::vector<std::string> materials, suppliers;
    bool enabled = false, silent_shown = true;
    std::string material, supplier;
    host.OnDialog(IDD_PRC_ORDER, [&](HWND dlg) {
        materials = list_rows(dlg, IDC_ORDER_MATERIAL, CB_GETCOUNT, CB_GETLBTEXT);
        suppliers = list_rows(dlg, IDC_ORDER_SUPPLIER, CB_GETCOUNT, CB_GETLBTEXT);
        material = text_of(dlg, IDC_ORDER_MATERIAL);
        supplier = text_of(dlg, IDC_ORDER_SUPPLIER);
        enabled = IsWindowEnabled(GetDlgItem(dlg, IDC_ORDER_SUPPLIER)) != 0;
        silent_shown = IsWindowVisible(GetDlgItem(dlg, IDC_ORDER_SILENT)) != 0;
        SetDlgItemText(dlg, IDC_ORDER_QTY, "40");
        EXPECT_TRUE(SaveWindowPng(dlg, png("order.png").c_str()));
        click(dlg, IDCANCEL);
    });
    CPrcOrderDlg dlg(d.p, nullptr);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(materials, (std::vector<std::string>{"XA", "XB", "YA"}));
    EXPECT_EQ(suppliers, (std::vector<std::string>{"1 - Alpha Metals", "2 - Beta Supply"}));
    EXPECT_EQ(material, "XA");
    EXPECT_EQ(supplier, "1 - Alpha Metals");
    EXPECT_TRUE(enabled);
    EXPECT_FALSE(silent_shown);

    // With one supplier there is nothing to choose.
    d.p.supplier_count = 1;
    host.OnDialog(IDD_PRC_ORDER, [&](HWND dlg) {
        enabled = IsWindowEnabled(GetDlgItem(dlg, IDC_ORDER_SUPPLIER)) != 0;
        click(dlg, IDCANCEL);
    });
    CPrcOrderDlg one(d.p, nullptr);
    one.DoModal();
    EXPECT_FALSE(enabled);
}

// XB's own supplier is Beta (lead 5, price 9); ordered through Alpha (lead
// 10, price 10) the order carries Alpha's dates and is paid at Alpha's
// price, and XB keeps Beta afterwards.
TEST_F(PurchasingDialogs, OrderThroughAnotherSupplierLeavesTheDefaultAlone)
{
    for (const bool silent : {false, true}) {
        SCOPED_TRACE(silent);
        Desk d;
        fixed_lead_draw(12);
        ScriptedHost host;
        host.Answer(IDOK, "");
        std::string left;
        size_t redraws = 0;
        host.OnDialog(IDD_PRC_ORDER, [&](HWND dlg) {
            SetDlgItemText(dlg, IDC_ORDER_MATERIAL, "XB");
            SetDlgItemText(dlg, IDC_ORDER_QTY, "40");
            SendDlgItemMessage(dlg, IDC_ORDER_SUPPLIER, CB_SETCURSEL, 0, 0);
            click(dlg, silent ? IDC_ORDER_SILENT : IDC_ORDER_BUTTON);
            left = text_of(dlg, IDC_ORDER_QTY);
            for (const auto& r : d.ui.redraws)
                redraws += r.kind == REDRAW_ON_ORDER && r.family == 0 && r.material == 1;
            // The dialog takes the next order.
            SetDlgItemText(dlg, IDC_ORDER_QTY, "7");
            SendDlgItemMessage(dlg, IDC_ORDER_SUPPLIER, CB_SETCURSEL, 1, 0);
            click(dlg, IDC_ORDER_BUTTON);
            click(dlg, IDCANCEL);
        });
        CPrcOrderDlg dlg(d.p, nullptr);
        dlg.DoModal();
        EXPECT_EQ(left, "");
        EXPECT_EQ(redraws, 1u);
        ASSERT_EQ(d.p.orders.size(), 2u);
        const VendorOrder& o = d.p.orders[0];
        EXPECT_EQ(o.quantity, 40);
        EXPECT_EQ(o.supplier, 0);
        // Drawn 12 tenths of Alpha's base 10, quoted by Alpha's 10 days.
        EXPECT_EQ(compare_dates(o.arrival, d.view.clock.AddWorkDays(d.view.clock.current, 12)), 1);
        EXPECT_EQ(compare_dates(o.quoted_due, d.view.clock.AddWorkDays(d.view.clock.current, 10)), 1);
        EXPECT_EQ(d.p.orders[1].supplier, 1);
        EXPECT_EQ(compare_dates(d.p.orders[1].arrival, d.view.clock.AddWorkDays(d.view.clock.current, 6)), 1);
        EXPECT_EQ(d.on_order(0, 1), 47);
        EXPECT_EQ(d.p.suppliers[0].sample_count, 1);
        EXPECT_EQ(d.xb().default_supplier, 1);
        EXPECT_EQ(d.xb().quoted_lead, 5);
        EXPECT_EQ(d.xb().lead_base, 5);
        EXPECT_EQ(d.xb().price, 9);
        const std::vector<std::string> boxes = box_texts(host);
        EXPECT_EQ(boxes, silent ? std::vector<std::string>{"Order|Order accepted"}
                                : std::vector<std::string>(2, "Order|Order accepted"));
        EXPECT_EQ(d.decisions, (Decisions{{"PrcOrder", "XB", "-----", "40"}, {"PrcOrder", "XB", "-----", "7"}}));

        // It arrives at Alpha's price and shipping: 40 x 10 + 50.
        d.finance.postings.clear();
        d.view.clock.current = o.arrival;
        d.p.receive_vendor_orders();
        ASSERT_EQ(d.finance.postings.size(), 2u) << "both orders are due by then";
        EXPECT_EQ(d.finance.postings[1].amount, -(7 * 9 + 30));
        EXPECT_EQ(d.finance.postings[0].amount, -(40 * 10 + 50));
    }
}

// A full order table refuses the order before anything moves: the engine's
// box alone, no confirmation, no record, the default supplier back.
TEST_F(PurchasingDialogs, OrderIntoAFullTableIsRefusedWhole)
{
    Desk d;
    d.p.orders.resize(MAX_RM_ORDERS - 1);
    ScriptedHost host;
    host.OnDialog(IDD_PRC_ORDER, [&](HWND dlg) {
        SetDlgItemText(dlg, IDC_ORDER_MATERIAL, "XB");
        SetDlgItemText(dlg, IDC_ORDER_QTY, "40");
        click(dlg, IDC_ORDER_BUTTON);
        click(dlg, IDCANCEL);
    });
    CPrcOrderDlg dlg(d.p, nullptr);
    dlg.DoModal();
    EXPECT_TRUE(host.boxes().empty());
    EXPECT_EQ(d.ui.boxes, std::vector<std::string>{"Application Error|Index Overflow MAX_RM_ORDERS"});
    EXPECT_EQ(d.p.orders.size(), static_cast<size_t>(MAX_RM_ORDERS - 1));
    EXPECT_TRUE(d.decisions.empty());
    EXPECT_EQ(d.on_order(0, 1), 0);
    EXPECT_EQ(d.xb().default_supplier, 1);
    EXPECT_EQ(d.xb().price, 9);
    EXPECT_EQ(d.xb().lead_base, 5);
}

} // namespace
