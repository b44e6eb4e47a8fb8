// The Purchasing department's engine: raw materials, suppliers and their
// packages, vendor orders, package contracts, the red line and the
// statistics, the scenario sections and the saved state.
#pragma once
#include "foundation/simdate.h"
#include "production/departments.h"
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class CVornView;
class DataFile;
class RecordReader;
class RecordWriter;

inline constexpr int MAX_RM_FAMILYS = 3;
inline constexpr int MAX_MATERIALS = 4;
inline constexpr int MAX_SUPPLIERS = 12;
inline constexpr int MAX_RM_ITEMS = 12;
inline constexpr int MAX_PACKAGES_PER_SUPPLIER = 2;
inline constexpr int MAX_PACKAGE_ITEMS_PER_PACKAGE = 12;
inline constexpr int MAX_RM_ORDERS = 150;
inline constexpr int MAX_LOADED_CONTRACT_SHIPMENTS = 10;
inline constexpr int MAX_CONTRACT_DATES = 68;
inline constexpr int MAX_PRC_CONTRACTS = 10;
inline constexpr int MAX_LEAD_SAMPLES = 50;
inline constexpr int DAYS_KEPT = 31;
inline constexpr int SUPPLIER_NAME = 30;

// Sizes of the records as the state file holds them.
inline constexpr int RAW_MATERIAL_BYTES = 443;
inline constexpr int SUPPLIER_BYTES = 438;
inline constexpr int PACKAGE_BYTES = 108;
inline constexpr int VENDOR_ORDER_BYTES = 40;
inline constexpr int SHIPMENT_BYTES = 12;
inline constexpr int PLAN_ENTRY_BYTES = 26;

enum RedrawKind : int { REDRAW_STOCK = 0, REDRAW_ON_ORDER = 2, REDRAW_MRP_RED_LINE = 3 };
enum PurchasingPolicy : int16_t { POLICY_ORDER_LEVEL = 0, POLICY_MRP = 1 };
enum PackageFrequency : int16_t { FREQUENCY_WEEKLY = 0, FREQUENCY_MONTHLY = 1 };
enum ContractEndChoice : int { CONTRACT_RENEW = 1, CONTRACT_END = 2, CONTRACT_HOLD = 3 };

struct RawMaterial {
    char letter = 0;
    int16_t id = 0;
    int16_t x = 0, y = 0;
    int16_t lead_base = 0;
    int16_t quoted_lead = 0;
    int16_t max_level = 0;
    int16_t order_level = 0;
    int16_t red_line_level = 0;
    int16_t first_price = 0;
    int16_t price = 0;
    int16_t red_line_status = 0;
    int16_t reserved = 0;
    int16_t stock = 0;
    int16_t opening_stock = 0;
    int16_t stock_year_start = 0;
    int16_t stock_last_year_start = 0;
    int16_t issued_this_month = 0;
    int16_t issued_last_month = 0;
    int16_t in_process = 0;
    int16_t red_line_days = 0;
    float red_line_share = 0;
    float red_line_share_last_month = 0;
    std::array<float, 6> red_line_shares{};
    std::array<float, 12> monthly_issues{};
    int16_t default_supplier = 0;
    float average_cost = 0;
    std::array<int16_t, 3> reserved3{};
    std::array<int16_t, DAYS_KEPT> daily_stock{};
    std::array<int16_t, DAYS_KEPT> daily_ordered{};
    std::array<int16_t, DAYS_KEPT> daily_dispatched{};
    std::array<int16_t, DAYS_KEPT> daily_arrived{};
    std::array<int16_t, DAYS_KEPT> daily_contract_arrivals{};
};

struct MaterialFamily {
    char letter = 0;
    int16_t colour = 0;
    std::array<RawMaterial, MAX_MATERIALS> materials{};
    int16_t count = 0;
};

struct PriceEntry {
    int16_t family = 0, material = 0, price = 0;
};

struct PackageItem {
    int16_t family = 0, material = 0, price = 0, quantity = 0;
};

struct SupplierPackage {
    int16_t id = 0;
    int16_t shipment_day = 0;   // weekday 1 Sunday .. 7 Saturday
    int16_t frequency = 0;      // PackageFrequency
    int16_t minimum = 0;
    int16_t reserved = 0;
    std::array<PackageItem, MAX_PACKAGE_ITEMS_PER_PACKAGE> items{};
    int16_t count = 0;
};

struct Supplier {
    std::array<char, SUPPLIER_NAME> name{};
    int16_t quoted_lead = 0;
    int16_t lead_base = 0;
    int16_t shipping_cost = 0;
    int16_t number = 0;
    std::array<PriceEntry, MAX_RM_ITEMS> prices{};
    int16_t price_count = 0;
    std::array<SupplierPackage, MAX_PACKAGES_PER_SUPPLIER> packages{};
    int16_t package_count = 0;
    int16_t unused25 = 25;
    std::array<int16_t, MAX_LEAD_SAMPLES> lead_samples{};
    int16_t sample_count = 0;
    float average_lead = 0;
};

struct PurchaseContract {
    int16_t supplier = 0;
    int16_t package_index = 0;
    SupplierPackage package;      // with the ordered quantities
    SimDateTime start{};
    SimDateTime end{};
    std::vector<SimDateTime> dates;   // the shipment calendar, at most MAX_CONTRACT_DATES
    int16_t first_dispatch = 1;
    int16_t next_shipment = 0;
    int16_t end_handled = 0;
    int16_t reserved = 0;
    // Names the contract for its shipments; per run, never reused.
    uint32_t serial = 0;
};

struct ContractShipment {
    SimDateTime arrival{};
    uint32_t contract = 0;   // the contract's serial
};

struct VendorOrder {
    int16_t family = 0, material = 0, quantity = 0, supplier = 0;
    SimDateTime order_date{};
    SimDateTime arrival{};
    SimDateTime quoted_due{};
    int16_t reserved = 0;
};

struct MrpPlanEntry {
    int16_t family = 0, material = 0, quantity = 0;
    SimDateTime order_date{};
    SimDateTime need_date{};
};

template <typename T>
using PerMaterial = std::array<std::array<T, MAX_MATERIALS>, MAX_RM_FAMILYS>;

// What the engine needs of the screen: redraws, the Contract End question
// and message boxes.
struct PurchasingUi {
    virtual ~PurchasingUi() = default;
    virtual void redraw_material(int kind, int family, int material) = 0;
    virtual int ask_contract_end(const struct PurchaseContract& contract) = 0;   // ContractEndChoice
    virtual void box(std::string_view text, std::string_view caption) = 0;
};

class CPurchasingWnd : public PurchasingDept {
public:
    CPurchasingWnd(CVornView& view, PurchasingUi& ui);

    // The neighbours, set once every department of the session exists.
    FinanceDept* finance = nullptr;
    MarketingDept* marketing = nullptr;
    ProductionDept* production = nullptr;
    void connect(const DepartmentLinks& links)
    {
        finance = links.finance;
        marketing = links.marketing;
        production = links.production;
    }
    // Replaces Production's requirements (scripted sources in tests).
    std::function<void(std::vector<MaterialRequirement>&)> requirements_source;

    // Hooks.
    void load_data(DataFile& file);
    void on_new_month();
    bool daily_step(int16_t restart_code);
    void resume_step();

    // PurchasingDept.
    int family_count() const override { return family_count_; }
    char family_letter(int family) const override;
    int material_count(int family) const override;
    char material_letter(int family, int material) const override;
    void find_material_by_code(const char* code, uint16_t& family, uint16_t& material) override;
    int16_t get_stock(int family, int material) override;
    int16_t get_on_order(int family, int material) override;
    void material_by_index(int n, uint16_t& family, uint16_t& material) override;
    bool any_material_in_red_line() override;
    void add_stock(int family, int material, int quantity, int issue) override;
    void add_unsupplied_units(int family, int material, int units) override;
    int32_t material_price(int family, int material) override;
    float average_cost(int family, int material) override;
    void lower_in_process(int family, int material, int units) override;
    int32_t in_process_units(int family, int material) override;
    bool orders_by_mrp() const override { return policy == POLICY_MRP; }
    void end_of_day_ordering() override;
    void roll_yearly_stats() override;

    // Vendor orders and ordering.
    // False (after its box) when the order table is full; nothing placed.
    bool place_vendor_order(int family, int material, int quantity);
    void receive_vendor_orders();
    void order_by_policy();
    void order_level_ordering();
    void mrp_ordering();
    int16_t get_requirement(int family, int material, int days);
    void build_mrp_plan();
    void update_average_cost(int family, int material, int quantity, int unit_price, int supplier);
    int16_t get_supplier_price(int supplier, int family, int material);
    bool supplier_sells(int supplier, int family, int material) const;
    void apply_purchasing_policy();
    bool replan_due() const;
    void policy_changed() {}
    // Lead times and price from each material's default supplier (after a change of supplier).
    void reapply_default_suppliers();
    // Units of the material held anywhere: stock, in process, inside finished goods.
    int32_t held_units(int family, int material);

    // Package contracts.
    // Empty when created, else the refusal's text (shown by the caller).
    std::string create_contract(int supplier, int package, const std::vector<int32_t>& quantities);
    // The quantities' refusal (empty when a contract may be made of them).
    std::string contract_refusal(int supplier, int package, const std::vector<int32_t>& quantities) const;
    int build_shipment_dates(PurchaseContract& contract) const;
    void dispatch_contract_shipments();
    void receive_contract_shipments();
    bool check_contract_ends();
    void end_contract(int index);
    int find_contract_by_package(int package_id) const;
    int contract_by_serial(uint32_t serial) const;

    // Red line and statistics.
    void check_material_red_line();
    void check_mrp_red_line();
    void count_red_line_days();

    // State file and policies file.
    std::vector<uint8_t> save_state_bytes() const;
    // False when the bytes are not a state this scenario can run; nothing changed then.
    bool load_state_bytes(const std::vector<uint8_t>& bytes);
    static constexpr int32_t policies_size_for(int materials) { return 8 + 6 * materials + 48; }
    int32_t policies_size() const;
    void write_policies(RecordWriter& out) const;
    // False when a value cannot be held; nothing changed then.
    bool read_policies(RecordReader& in);

    int total_materials() const;
    RawMaterial& material(int family, int m) { return families[static_cast<size_t>(family)].materials[static_cast<size_t>(m)]; }
    const RawMaterial& material(int family, int m) const
    {
        return families[static_cast<size_t>(family)].materials[static_cast<size_t>(m)];
    }
    std::string material_code(int family, int m) const;
    std::string supplier_name(int supplier) const;
    // The clock's date plus n working days.
    SimDateTime add_work_days(const SimDateTime& date, int n) const;
    void log(const char* key, const std::string& item, const std::string& old_value, const std::string& new_value);

    // Records, in the department's order.
    std::array<MaterialFamily, MAX_RM_FAMILYS> families{};
    int16_t family_count_ = 0;
    std::vector<VendorOrder> orders;
    std::array<Supplier, MAX_SUPPLIERS> suppliers{};
    int16_t supplier_count = 0;
    std::vector<PurchaseContract> contracts;
    std::vector<ContractShipment> shipments;
    // Never below 0; saturated into the file's 16 bits.
    PerMaterial<int32_t> on_order{};
    int32_t shipping_total = 0, shipping_this_year = 0, shipping_last_year = 0;
    PerMaterial<uint32_t> unsupplied_since_step{}, unsupplied_this_month{}, unsupplied_last_month{},
        unsupplied_this_year{}, unsupplied_last_year{};
    std::array<PerMaterial<uint32_t>, 6> unsupplied_history{};
    std::vector<MrpPlanEntry> plan;
    int16_t days_before_qlt = 0;
    int16_t according_to_qlt = 1;
    PerMaterial<int16_t> safety_stock{}, issued_since_plan{}, mrp_red_line{}, red_line_time{};
    int16_t levels_shown = 1;
    uint16_t shipping_this_month = 0, shipping_last_month = 0;
    int16_t policy = POLICY_ORDER_LEVEL;
    int16_t replan_weekly = 1;
    int16_t minimum_to_order = 0;
    int16_t day_index = 0;
    std::array<SimDateTime, DAYS_KEPT> day_dates{};
    uint32_t next_serial = 1;

    CVornView& view() const { return *view_; }
    PurchasingUi& ui() const { return *ui_; }

private:
    void load_purchasing(DataFile& file);
    void load_suppliers(DataFile& file);
    void set_default_suppliers();
    void apply_supplier(RawMaterial& m, int family, int material, bool take_average);
    void pay(int32_t amount);
    void redraw(int kind, int family, int material) { ui_->redraw_material(kind, family, material); }
    int day_slot() const;

    // Pointers, so that a decoded state can replace the whole engine at once.
    CVornView* view_;
    PurchasingUi* ui_;
};

// The state-file reader over any bytes, for the fuzz target: the engine of a
// session of the bundled families and suppliers, fed the bytes.
bool purchasing_state_accepts(CPurchasingWnd& engine, const uint8_t* data, size_t size);
