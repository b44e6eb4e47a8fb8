// Packages and Order Package over the sample's two packages: the lists,
// each refused quantity keeping the dialog and every contract as they were,
// an existing contract ended only when its successor is accepted, and the
// full contract table.
#include "dialog_support.h"
#include "plat/msg.h"
#include <functional>

using namespace prc_test;

namespace {

// Opens Order Package for the package in row `row` of the Packages list.
void order_row(HWND packages, int row)
{
    SendDlgItemMessage(packages, IDC_PACKAGES_LIST, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    click(packages, IDC_PACKAGES_ORDER);
}

void type_quantities(HWND w, std::initializer_list<const char*> texts)
{
    int k = 0;
    for (const char* t : texts)
        SetDlgItemText(w, IDC_PACKAGE_QTY + k++, t);
}

// From the Packages dialog, Order Package for the first package: `act` on
// it, OK, and Cancel when it stays open. Answers whether it stayed.
bool order_first_package(Desk& d, ScriptedHost& host, const std::function<void(HWND)>& act)
{
    bool stayed = false;
    host.OnDialog(IDD_PRC_ORDER_PACKAGE, [&](HWND w) {
        act(w);
        click(w, IDOK);
        stayed = IsWindowVisible(w) != 0;
        if (stayed)
            click(w, IDCANCEL);
    });
    host.OnDialog(IDD_PRC_PACKAGES, [&](HWND w) {
        order_row(w, 0);
        click(w, IDCANCEL);
    });
    run_prc_packages(d.p, nullptr);
    return stayed;
}

std::vector<int16_t> quantities(const PurchaseContract& c)
{
    std::vector<int16_t> q;
    for (int k = 0; k < c.package.count; ++k)
        q.push_back(c.package.items[static_cast<size_t>(k)].quantity);
    return q;
}

TEST_F(PurchasingDialogs, PackagesListEveryPackageAndTheChosenOnesItems)
{
    Desk d;
    ScriptedHost host;
    std::vector<std::string> packages, first, second;
    host.OnDialog(IDD_PRC_PACKAGES, [&](HWND w) {
        packages = list_rows(w, IDC_PACKAGES_LIST);
        first = list_rows(w, IDC_PACKAGES_ITEMS);
        EXPECT_TRUE(SaveWindowPng(w, png("packages.png").c_str()));
        SendDlgItemMessage(w, IDC_PACKAGES_LIST, LB_SETCURSEL, 1, 0);
        SendMessage(w, WM_COMMAND, MAKEWPARAM(IDC_PACKAGES_LIST, LBN_SELCHANGE),
                    static_cast<LPARAM>(GetDlgItem(w, IDC_PACKAGES_LIST)));
        second = list_rows(w, IDC_PACKAGES_ITEMS);
        click(w, IDCANCEL);
    });
    run_prc_packages(d.p, nullptr);
    EXPECT_EQ(packages, (std::vector<std::string>{"1\tAlpha Metals\tWeekly\tMonday\t10",
                                                   "2\tBeta Supply\tMonthly\t----\t20"}));
    EXPECT_EQ(first, (std::vector<std::string>{"XA\t5", "XB\t9"}));
    EXPECT_EQ(second, (std::vector<std::string>{"YA\t3"}));
}

struct PackageCase {
    int minimum;
    std::vector<const char*> typed;
    const char* box;   // caption|text
    std::vector<int16_t> made;   // empty: none
};

// Alpha's weekly package (XA, XB) ordered with each kind of quantity.
TEST_F(PurchasingDialogs, OrderPackageRefusesQuantitiesAContractCannotRun)
{
    const PackageCase cases[] = {
        {10, {"3", "4"}, "Order Package|Requested quantites are less than the minimum", {}},
        {0, {"0", "0"}, "Order Package|Requested quantites are less than the minimum", {}},   // nothing to ship
        {10, {"-1", "20"}, "Order Package|Invalid quantity: -1", {}},
        {10, {"20", "40000"}, "Order Package|Invalid quantity: 40000", {}},
        {10, {"2x", "20"}, "Order Package|Invalid quantity: 2x", {}},
        {10, {"", "20"}, "Order Package|Invalid quantity: ", {}},
        {10, {"6", "4"}, "Order Package|Order Recieved", {6, 4}},
        {0, {"0", "1"}, "Order Package|Order Recieved", {0, 1}},
    };
    for (const PackageCase& c : cases) {
        SCOPED_TRACE(std::string(c.typed[0]) + " " + c.typed[1]);
        Desk d;
        d.p.suppliers[0].packages[0].minimum = static_cast<int16_t>(c.minimum);
        ScriptedHost host;
        host.Answer(IDOK, "");
        std::vector<std::string> codes;
        bool third_shown = true;
        const bool open_after = order_first_package(d, host, [&](HWND w) {
            for (int k = 0; k < 3; ++k)
                codes.push_back(text_of(w, IDC_PACKAGE_CODE + k));
            third_shown = IsWindowVisible(GetDlgItem(w, IDC_PACKAGE_QTY + 2)) != 0;
            type_quantities(w, {c.typed[0], c.typed[1]});
            if (!c.made.empty() && c.minimum == 10) {
                EXPECT_TRUE(SaveWindowPng(w, png("order_package.png").c_str()));
            }
        });
        EXPECT_EQ(codes, (std::vector<std::string>{"XA", "XB", ""}));
        EXPECT_FALSE(third_shown);
        EXPECT_EQ(box_texts(host), std::vector<std::string>{c.box});
        EXPECT_EQ(open_after, c.made.empty());
        if (c.made.empty()) {
            EXPECT_TRUE(d.p.contracts.empty());
            continue;
        }
        ASSERT_EQ(d.p.contracts.size(), 1u);
        EXPECT_EQ(quantities(d.p.contracts[0]), c.made);
        EXPECT_EQ(d.p.contracts[0].supplier, 0);
        EXPECT_EQ(d.p.contracts[0].package.id, 1);
    }
}

// A contract of the package exists: Yes marks it to go, but it goes only
// at an accepted OK; a refusal or Cancel leaves it running. No makes a
// second contract of the same package.
TEST_F(PurchasingDialogs, OverwritingAContractEndsItOnlyWhenTheNewOneIsMade)
{
    enum Ending { CANCEL, REFUSED_THEN_CANCEL, OK };
    struct Case {
        int answer;
        Ending ending;
        size_t contracts;
        bool old_kept;
    } cases[] = {
        {IDYES, CANCEL, 1, true},
        {IDYES, REFUSED_THEN_CANCEL, 1, true},
        {IDYES, OK, 1, false},
        {IDNO, OK, 2, true},
        {IDNO, CANCEL, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.answer << " " << c.ending);
        Desk d;
        ASSERT_EQ(d.p.create_contract(0, 0, {40, 40}), "");
        const uint32_t old_serial = d.p.contracts[0].serial;
        // One shipment of it on its way.
        d.p.contracts[0].dates.front() = d.view.clock.current;
        d.p.dispatch_contract_shipments();
        ASSERT_EQ(d.p.shipments.size(), 1u);
        ASSERT_EQ(d.on_order(0, 0), 40);

        ScriptedHost host;
        host.Answer(c.answer, "Packages", "Contract of this package already exist\nOverwite it ?", ScriptedHost::Match::Exact);
        host.Answer(IDOK, "Order Package");
        host.OnDialog(IDD_PRC_ORDER_PACKAGE, [&](HWND w) {
            if (c.ending == REFUSED_THEN_CANCEL) {
                type_quantities(w, {"1", "1"});
                click(w, IDOK);
            }
            if (c.ending == OK) {
                type_quantities(w, {"5", "7"});
                click(w, IDOK);
            } else {
                click(w, IDCANCEL);
            }
        });
        host.OnDialog(IDD_PRC_PACKAGES, [&](HWND w) {
            order_row(w, 0);
            click(w, IDCANCEL);
        });
        run_prc_packages(d.p, nullptr);
        ASSERT_FALSE(host.boxes().empty());
        EXPECT_EQ(host.boxes()[0].type & 0xF, static_cast<UINT>(MB_YESNO));
        ASSERT_EQ(d.p.contracts.size(), c.contracts);
        EXPECT_EQ(d.p.contract_by_serial(old_serial) >= 0, c.old_kept);
        // The old contract's shipment goes with it, and its units off order.
        EXPECT_EQ(d.p.shipments.size(), c.old_kept ? 1u : 0u);
        EXPECT_EQ(d.on_order(0, 0), c.old_kept ? 40 : 0);
        if (c.ending == OK) {
            EXPECT_EQ(quantities(d.p.contracts.back()), (std::vector<int16_t>{5, 7}));
        }
    }
}

TEST_F(PurchasingDialogs, OrderPackageIntoAFullContractTableIsRefused)
{
    for (const bool overwrite : {false, true}) {
        SCOPED_TRACE(overwrite);
        Desk d;
        for (int i = 0; i < MAX_PRC_CONTRACTS - (overwrite ? 1 : 0); ++i) {
            ASSERT_EQ(d.p.create_contract(1, 0, {20}), "");
        }
        if (overwrite) {
            ASSERT_EQ(d.p.create_contract(0, 0, {10, 10}), "");
        }
        ScriptedHost host;
        host.Answer(IDYES, "Packages");
        host.Answer(IDOK, "Order Package");
        const bool open_after = order_first_package(d, host, [](HWND w) { type_quantities(w, {"6", "6"}); });
        EXPECT_EQ(d.p.contracts.size(), static_cast<size_t>(MAX_PRC_CONTRACTS));
        EXPECT_EQ(open_after, !overwrite);
        const std::string last = box_texts(host).back();
        if (!overwrite) {
            EXPECT_EQ(last, "Order Package|Index Overflow MAX_PRC_CONTRACTS");
            EXPECT_EQ(d.p.find_contract_by_package(1), -1);
        } else {
            // The ended one made the room.
            EXPECT_EQ(last, "Order Package|Order Recieved");
            EXPECT_EQ(quantities(d.p.contracts.back()), (std::vector<int16_t>{6, 6}));
        }
    }
}

} // namespace
