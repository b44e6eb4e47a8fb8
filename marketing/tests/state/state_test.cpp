// The Marketing state file: the kept bytes of a run in its second quarter,
// the kept fuzz inputs, the files of older versions, and damaged files
// refused whole with the open session kept.
//
// Set VORN_WRITE_GOLDEN=1 to keep a deliberate change of the layout or of
// the sample's run: the kept file and the fuzz seeds are written anew from
// what the program saves.
#include "app/version_id.h"
#include "session/sample_session.h"
#include "session/state_fuzz.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <limits>

using namespace sample_session;
namespace fs = std::filesystem;

namespace {

const fs::path golden_file = fs::path(VORN_TEST_DATA) / "golden" / "mid_run.mrk";
const fs::path corpus = fs::path(VORN_TEST_DATA) / "fuzz" / "mrk";
const char* const set_files[] = {"MGR", "PRC", "MRK", "PRD", "FNC"};

bool writing_golden() { return std::getenv("VORN_WRITE_GOLDEN") != nullptr; }

DriverOptions options() { return market_options<PlantMarketing>(21); }

std::string file_of(const std::string& session, const char* ext)
{
    return session.substr(0, session.size() - 3) + ext;
}

void keep(const fs::path& path, const std::vector<uint8_t>& bytes)
{
    fs::create_directories(path.parent_path());
    write_bytes(path.string(), bytes);
}

// A copy of a saved set under another name with its Marketing file replaced
// by the bytes given, followed by the set's serial.
std::string lay_over(const std::string& session, const std::string& copy, const std::vector<uint8_t>& mrk)
{
    fs::copy_file(session, copy, fs::copy_options::overwrite_existing);
    for (const char* ext : set_files)
        fs::copy_file(file_of(session, ext), file_of(copy, ext), fs::copy_options::overwrite_existing);
    std::vector<uint8_t> bytes = mrk;
    const std::vector<uint8_t> whole = read_bytes(file_of(session, "MRK"));
    bytes.insert(bytes.end(), whole.end() - 4, whole.end());
    write_bytes(file_of(copy, "MRK"), bytes);
    return copy;
}

// The sample in mid-April: A3 introduced, contracts under way with a
// delivery loaded, the export line active with its pools, the A1 campaign
// running and a promotion of A2 in its last month.
struct MidRun {
    TempDir dir;
    std::string session;
    std::vector<uint8_t> mrk;  // without the set's serial
    std::vector<uint8_t> body, tail;
    MidRun()
    {
        session = dir / "mid.vnb";
        SessionDriver d;
        if (!d.start(sample, options()))
            throw std::runtime_error("the sample did not start");
        CMarketingWnd& m = marketing_of(d).engine();
        m.product(0, 0).exp->item14 = 0;
        m.request_export_line(0, 0, d.clock().current);
        m.product(0, 1).promotion_level = 2;
        m.product(0, 1).promotion_state = 1;
        m.start_campaign(1, 1, 4);
        d.runUntil({95, 4, 14, 10, 0});
        if (!d.save(session))
            throw std::runtime_error("the run did not save");
        mrk = state_bytes(session, "MRK");
        RecordWriter b, t;
        m.save_state(b);
        m.save_tail(t);
        body = b.bytes();
        tail = t.bytes();
    }
};

const MidRun& mid_run()
{
    static const MidRun run;
    return run;
}

} // namespace

TEST(MarketingStateFile, MidRunFileIsTheKeptBytesAndOpensToThem)
{
    const MidRun& run = mid_run();
    SessionDriver check;
    ASSERT_TRUE(check.start(run.session, options()));
    const CMarketingWnd& m = marketing_of(check).engine();
    // What the kept moment holds.
    ASSERT_EQ(m.product_count(0), 3) << "A3 introduced";
    EXPECT_EQ(m.new_products[0].index, 2);
    EXPECT_FALSE(m.open_orders.empty());
    EXPECT_FALSE(m.loaded.empty());
    EXPECT_EQ(m.product(0, 0).exp->state, EXPORT_ACTIVE);
    EXPECT_FALSE(m.exp_open_orders.empty());
    EXPECT_FALSE(m.exp_transport_orders.empty());
    EXPECT_EQ(m.campaigns[1].active, 1);
    EXPECT_NE(m.product(0, 1).promotion_state, 0);

    if (writing_golden()) {
        keep(golden_file, run.mrk);
        keep(corpus / "loads-mid-run", run.mrk);
        keep(corpus / "loads-base", base_session_file("MRK"));
    }
    const std::vector<uint8_t> kept = read_bytes(golden_file.string());
    ASSERT_FALSE(kept.empty()) << golden_file;
    EXPECT_TRUE(run.mrk == kept) << first_difference(run.mrk, kept);
    // The body, then the tail of the fields files before BG_1038 lack.
    ASSERT_EQ(run.mrk.size(), run.body.size() + run.tail.size());
    EXPECT_TRUE(std::equal(run.tail.begin(), run.tail.end(), run.mrk.end() - static_cast<long>(run.tail.size())));

    // The kept bytes in the set open and save to themselves.
    TempDir dir;
    const std::string copy = lay_over(run.session, dir / "kept.vnb", kept);
    SessionDriver resumed;
    ASSERT_TRUE(resumed.start(copy, options()));
    ASSERT_TRUE(resumed.view().resumed());
    ASSERT_TRUE(resumed.save(dir / "again.vnb"));
    const std::vector<uint8_t> again = state_bytes(dir / "again.vnb", "MRK");
    EXPECT_TRUE(again == kept) << first_difference(again, kept);
}

// Each kept input laid over a saved session of the sample: "loads-*" open,
// run ten working days, save and open again; "refused-*" are refused with
// the box and the open session kept (the entry aborts on anything else).
TEST(MarketingStateFile, KeptFuzzInputsAreRefusedOrRunAndReopen)
{
    int loaded = 0, refused = 0;
    for (const auto& entry : fs::directory_iterator(corpus)) {
        SCOPED_TRACE(entry.path().string());
        const std::vector<uint8_t> bytes = read_bytes(entry.path().string());
        const SessionFileOutcome o = fuzz_session_file("MRK", bytes.data(), bytes.size());
        (o == SessionFileOutcome::Loaded ? loaded : refused) += 1;
        const std::string name = entry.path().filename().string();
        if (name.starts_with("loads-")) {
            EXPECT_EQ(o, SessionFileOutcome::Loaded);
        }
        if (name.starts_with("refused-")) {
            EXPECT_EQ(o, SessionFileOutcome::Refused);
        }
    }
    EXPECT_GE(loaded, 2);
    EXPECT_GE(refused, 10);
}

// A file of an older version lacks the fields its version came before: read
// under that version the body is taken whole and every field lands where it
// was (the engine saves the same bytes again); read as the current version
// it is refused, and the current file read as an older one is not used up.
TEST(MarketingStateFile, OlderVersionsReadWithoutTheirLaterFields)
{
    const MidRun& run = mid_run();
    SessionDriver d;
    ASSERT_TRUE(d.start(run.session, options()));
    CMarketingWnd& m = marketing_of(d).engine();
    const std::vector<uint8_t>& body = run.body;

    // Where the later fields lie: sections 9 to 14 end the body, fixed in
    // size but for the daily-sales graph's series.
    constexpr size_t cells = MAX_FAMILYS * MAX_PRODUCTS;
    const size_t graph = 3 * 8 + 2 + 4 * m.sales_graph.daily.size() + 2 + 4 * m.sales_graph.averages.size();
    const size_t revenue = body.size() - graph - 4 * cells;  // section 13
    const size_t merge = revenue - 4;                        // section 11; 12 follows
    const size_t cancelled = merge - 10 * cells;             // section 10
    const size_t cost_of_sales = cancelled - 4 * cells;      // section 9
    // Each answered contract's end copy, found by what changes when it does.
    std::vector<size_t> end_copies;
    {
        std::vector<SimDateTime> kept_copies;
        for (Customer& c : m.customers)
            for (CustomerContract& k : c.contracts)
                if (k.status != 0) {
                    kept_copies.push_back(k.end_copy);
                    k.end_copy = SimDateTime{0x5A5A, 0x5A5A, 0x5A5A, 0x5A5A, 0x5A5A};
                }
        RecordWriter marked;
        m.save_state(marked);
        size_t n = 0;
        for (Customer& c : m.customers)
            for (CustomerContract& k : c.contracts)
                if (k.status != 0)
                    k.end_copy = kept_copies[n++];
        ASSERT_EQ(marked.bytes().size(), body.size());
        for (size_t i = 0; i < body.size(); ++i)
            if (marked.bytes()[i] != body[i] && (end_copies.empty() || i >= end_copies.back() + 10))
                end_copies.push_back(i);
        ASSERT_EQ(end_copies.size(), kept_copies.size());
        ASSERT_GE(end_copies.size(), 2u);
    }

    struct Cut {
        size_t from, bytes;
    };
    struct Case {
        const char* version;
        std::vector<Cut> cuts;
    };
    const Cut graph_cut{body.size() - graph, graph}, revenue_cut{revenue, 4 * cells},
        cancelled_cut{cancelled, 10 * cells}, merge_cut{merge, 2};
    std::vector<Cut> copies;
    for (size_t at : end_copies)
        copies.push_back({at, 10});
    auto plus = [](std::vector<Cut> a, const std::vector<Cut>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    // Each gate's own version holds its field, the one before does not.
    const std::vector<Cut> to_1029{graph_cut};
    const std::vector<Cut> to_1026 = plus(to_1029, {revenue_cut});
    const std::vector<Cut> to_1022 = plus(to_1026, {cancelled_cut});
    const std::vector<Cut> to_1020 = plus(to_1022, copies);
    const std::vector<Cut> to_1018 = plus(to_1020, {merge_cut});
    const Case cases[] = {
        {"BG_1038", {}},          {"BG_1030", {}},          {"BG_1029", to_1029}, {"BG_1028", to_1026},
        {"BG_1026", to_1026},     {"BG_1025", to_1022},     {"BG_1022", to_1022}, {"BG_1021", to_1020},
        {"BG_1020", to_1020},     {"BG_1019", to_1018},     {"BG_1018", to_1018},
        // (The header reads the ids before BG_1018 as the oldest one, whose
        // files hold the month's cost of sales without it being taken.)
        {"BG_1012", to_1018},
    };
    const VersionId current = d.view().state_version;
    std::array<uint16_t, MAX_FAMILYS> counts{};
    for (size_t f = 0; f < counts.size(); ++f)
        counts[f] = m.families[f].product_count;
    // Read under a version: whether the bytes were taken and all of them.
    auto read = [&](const std::vector<uint8_t>& bytes, const VersionId& version) {
        // A read that fails midway may leave a family's count behind.
        for (size_t f = 0; f < counts.size(); ++f)
            m.families[f].product_count = counts[f];
        d.view().state_version = version;
        RecordReader in(bytes.data(), bytes.size());
        const bool ok = m.load_state(in) && !in.failed();
        d.view().state_version = current;
        return std::pair{ok, ok && in.position() == bytes.size()};
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        std::vector<bool> dropped(body.size(), false);
        for (const Cut& cut : c.cuts)
            std::fill_n(dropped.begin() + static_cast<long>(cut.from), cut.bytes, true);
        std::vector<uint8_t> older;
        for (size_t i = 0; i < body.size(); ++i)
            if (!dropped[i])
                older.push_back(body[i]);
        const VersionId version = make_version_id(c.version);
        if (std::string(c.version) == "BG_1012") {
            // Whatever the oldest file holds there is not taken.
            const size_t at = cost_of_sales - static_cast<size_t>(std::count(
                                  dropped.begin(), dropped.begin() + static_cast<long>(cost_of_sales), true));
            std::fill_n(older.begin() + static_cast<long>(at), 4 * cells, uint8_t{0x7F});
        }
        EXPECT_TRUE(read(older, version).second);
        if (!c.cuts.empty()) {
            EXPECT_FALSE(read(body, version).second) << "the current file read as " << c.version;
            EXPECT_FALSE(read(older, current).second) << "read as the current version";
        }
        ASSERT_TRUE(read(body, current).second);
        // What the older file holds comes back to its own fields and the
        // rest stays: the engine saves the body it started from.
        ASSERT_TRUE(read(older, version).second);
        RecordWriter out;
        m.save_state(out);
        EXPECT_TRUE(out.bytes() == body) << first_difference(out.bytes(), body);
    }
}

// A damaged Marketing file is refused whole with the damaged-session box and
// the session that was open goes on as it was. The damage is made by the
// program: a resumed run changed to a state it must not hold and saved, or
// the saved bytes cut or lengthened.
TEST(MarketingStateFile, DamagedFilesAreRefusedAndTheOpenSessionStays)
{
    const MidRun& run = mid_run();
    TempDir dir;
    SessionDriver open;
    ASSERT_TRUE(open.start(sample, options()));
    open.runTicks(2 * 480 + 100);
    ASSERT_TRUE(open.save(dir / "open0.vnb"));

    using Change = std::function<void(CMarketingWnd&)>;
    struct Case {
        const char* name;
        Change change;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case changes[] = {
        {"open-order-of-no-product", [](CMarketingWnd& m) { m.open_orders[0].product = 7; }},
        {"open-order-of-no-units", [](CMarketingWnd& m) { m.open_orders[0].units = 0; }},
        {"open-order-due-in-month-13", [](CMarketingWnd& m) { m.open_orders[0].due.month = 13; }},
        {"stock-not-the-lots", [](CMarketingWnd& m) { m.product(0, 1).stock = static_cast<int16_t>(m.product(0, 1).stock + 1); }},
        {"lot-of-negative-units",
         [](CMarketingWnd& m) {
             MarketProduct& p = m.product(0, 1);
             p.lots.push_back({-1, p.lots.empty() ? SimDateTime{95, 4, 1, 8, 0} : p.lots.back().date});
             p.stock = static_cast<int16_t>(p.stock - 1);
         }},
        {"no-supply-days", [](CMarketingWnd& m) { m.product(0, 1).supply_days.clear(); }},
        {"promotion-level-6", [](CMarketingWnd& m) { m.product(0, 1).promotion_level = 6; }},
        {"price-past-32000", [](CMarketingWnd& m) { m.product(0, 0).price = 32001; }},
        {"yearly-orders-not-a-number", [nan](CMarketingWnd& m) { m.product(0, 0).annual_orders = nan; }},
        {"export-flag-of-a-product-without-a-line", [](CMarketingWnd& m) { m.product(0, 1).export_flag = 1; }},
        {"fewer-products-than-the-scenario",
         [](CMarketingWnd& m) {
             m.families[0].product_count = 1;
         }},
        {"contract-status-3",
         [](CMarketingWnd& m) {
             for (Customer& c : m.customers)
                 for (CustomerContract& k : c.contracts)
                     if (k.status != 0) {
                         k.status = 3;
                         return;
                     }
         }},
        {"contract-deliveries-past-its-list",
         [](CMarketingWnd& m) {
             for (Customer& c : m.customers)
                 for (CustomerContract& k : c.contracts)
                     if (k.status != 0) {
                         k.deliveries_made = static_cast<uint16_t>(k.supply.size() + 1);
                         return;
                     }
         }},
        {"loaded-delivery-of-no-customer", [](CMarketingWnd& m) { m.loaded[0].customer = 99; }},
        {"loaded-line-of-no-product", [](CMarketingWnd& m) { m.loaded[0].lines[0].product = 9; }},
        {"loaded-deliveries-past-99",
         [](CMarketingWnd& m) {
             while (m.loaded.size() < 100)
                 m.loaded.push_back(m.loaded[0]);
         }},
        {"new-product-index-past-the-family", [](CMarketingWnd& m) { m.new_products[0].index = MAX_PRODUCTS; }},
        {"new-product-index-past-its-products", [](CMarketingWnd& m) { m.new_products[0].index = 3; }},
        {"link-mode-4", [](CMarketingWnd& m) { m.link_mode_ = 4; }},
        {"restart-stage-5", [](CMarketingWnd& m) { m.restart_stage = 5; }},
        {"day-index-past-31", [](CMarketingWnd& m) { m.day_index = 32; }},
        {"export-order-of-a-product-without-a-line", [](CMarketingWnd& m) { m.exp_open_orders[0].product = 1; }},
        {"export-orders-past-99",
         [](CMarketingWnd& m) {
             while (m.exp_open_orders.size() < 100)
                 m.exp_open_orders.push_back(m.exp_open_orders[0]);
         }},
        {"transfer-of-no-units", [](CMarketingWnd& m) { m.exp_transport_orders[0].units = 0; }},
        {"campaign-level-past-its-levels",
         [](CMarketingWnd& m) { m.campaigns[1].level_index = m.campaigns[1].level_count; }},
        {"campaign-active-2", [](CMarketingWnd& m) { m.campaigns[1].active = 2; }},
    };

    struct Damaged {
        std::string name;
        std::vector<uint8_t> mrk;  // without the set's serial
    };
    std::vector<Damaged> damaged;
    const std::vector<uint8_t>& good = run.mrk;
    const size_t body = run.body.size();
    auto spliced = [&](size_t from, size_t cut, std::vector<uint8_t> insert) {
        std::vector<uint8_t> b(good.begin(), good.begin() + static_cast<long>(from));
        b.insert(b.end(), insert.begin(), insert.end());
        b.insert(b.end(), good.begin() + static_cast<long>(from + cut), good.end());
        return b;
    };
    damaged.push_back({"empty", {}});
    damaged.push_back({"cut-in-the-body", spliced(body / 2, good.size() - body / 2, {})});
    damaged.push_back({"a-byte-short-of-the-body", spliced(body - 1, 1, {})});
    damaged.push_back({"a-byte-short-of-the-tail", spliced(good.size() - 1, 1, {})});
    damaged.push_back({"a-byte-added-to-the-body", spliced(body, 0, {0})});
    damaged.push_back({"a-byte-added-to-the-tail", spliced(good.size(), 0, {0})});
    damaged.push_back({"open-orders-past-32767", spliced(0, 2, {0x00, 0x80})});
    for (const Case& c : changes) {
        SCOPED_TRACE(c.name);
        SessionDriver changed;
        ASSERT_TRUE(changed.start(run.session, options()));
        c.change(marketing_of(changed).engine());
        const std::string session = dir / (std::string(c.name) + ".vnb");
        ASSERT_TRUE(changed.save(session));
        damaged.push_back({c.name, state_bytes(session, "MRK")});
        ASSERT_FALSE(damaged.back().mrk == good) << "the change reached the file";
    }

    // The undamaged file opens: only the damage is refused.
    const std::string control = lay_over(run.session, dir / "control.vnb", good);
    ASSERT_TRUE(open.sessions().StartSession(control, {.seed = 1}));
    ASSERT_TRUE(open.sessions().StartSession(dir / "open0.vnb", {.seed = 1}));
    std::vector<std::vector<uint8_t>> before;
    for (const char* ext : set_files)
        before.push_back(state_bytes(dir / "open0.vnb", ext));
    const SimDateTime now = open.clock().current;

    for (const Damaged& bad : damaged) {
        SCOPED_TRACE(bad.name);
        if (writing_golden())
            keep(corpus / ("refused-" + bad.name), bad.mrk);
        const std::string session = lay_over(run.session, dir / ("bad-" + bad.name + ".vnb"), bad.mrk);
        const size_t boxes = open.prompts().size();
        EXPECT_FALSE(open.sessions().StartSession(session, {.seed = 1}));
        const std::vector<std::string> seen = open.prompts();
        ASSERT_EQ(seen.size(), boxes + 1);
        EXPECT_EQ(seen.back(), "Open Session|Damaged session state file: '" + file_of(session, "MRK") +
                                   "'\nThe session was not opened.");
        // The open session is the one it was.
        EXPECT_EQ(open.view().session_open, 1);
        EXPECT_EQ(compare_dates(open.clock().current, now), 1);
    }
    ASSERT_TRUE(open.save(dir / "open1.vnb"));
    for (size_t i = 0; i < std::size(set_files); ++i)
        EXPECT_TRUE(state_bytes(dir / "open1.vnb", set_files[i]) == before[i]) << set_files[i];
    open.runTicks(480);
    EXPECT_GT(compare_dates(open.clock().current, now), 1);
}
