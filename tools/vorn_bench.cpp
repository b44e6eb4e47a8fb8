// Runs the sample scenario headless for a simulated year (or a few months)
// and prints the tick rate and a hash of the saved state files. With
// --repeat, every run must give the same hash. The departments are the
// program's own assembly (--departments all, the default: every department
// built, stand-ins for the rest) or the base windows everywhere
// (--departments base), which times the session alone; every department's
// run also prints the base windows' time beside its own.
#include "app/sessions.h"
#include "app/state_names.h"
#include "vorn/assembly.h"
#include "sha256.h"
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Args {
    std::string scenario;
    int32_t seed = 1;
    int years = 1;
    int months = 0;
    int repeat = 1;
    bool all = true;
};

bool parse(int argc, char** argv, Args& a)
{
    for (int i = 1; i < argc; ++i) {
        std::string k = argv[i];
        if (i + 1 >= argc)
            return false;
        std::string v = argv[++i];
        if (k == "--scenario")
            a.scenario = v;
        else if (k == "--seed")
            a.seed = std::atoi(v.c_str());
        else if (k == "--years")
            a.years = std::atoi(v.c_str());
        else if (k == "--months")
            a.months = std::atoi(v.c_str());
        else if (k == "--repeat")
            a.repeat = std::atoi(v.c_str());
        else if (k == "--departments" && (v == "base" || v == "all"))
            a.all = v == "all";
        else
            return false;
    }
    return !a.scenario.empty() && a.repeat >= 1 && a.years >= 0 && a.months >= 0;
}

SimDateTime target_of(const SimDateTime& start, const Args& a)
{
    SimDateTime t = start;
    t.hour = 8;
    t.minute = 0;
    if (a.months > 0) {
        int m = t.month - 1 + a.months;
        t.year = static_cast<int16_t>(t.year + m / 12);
        t.month = static_cast<int16_t>(m % 12 + 1);
        if (t.day > month_length(t.month, t.year))
            t.day = month_length(t.month, t.year);
    } else {
        t.year = static_cast<int16_t>(t.year + a.years);
        if (t.month == 2 && t.day == 29 && !is_leap_year(t.year))
            t.day = 28;
    }
    return t;
}

std::string hash_state(const std::string& session)
{
    Sha256 sha;
    for (const char* ext : {"MGR", "PRC", "MRK", "PRD", "FNC"}) {
        std::string name = state_file_name(session, ext);
        std::ifstream in(name, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
        std::string label = std::string("bench.") + ext;
        sha.update(label.c_str(), label.size() + 1);
        uint8_t len[8];
        for (int i = 0; i < 8; ++i)
            len[i] = static_cast<uint8_t>(static_cast<uint64_t>(bytes.size()) >> (8 * i));
        sha.update(len, 8);
        sha.update(bytes.data(), bytes.size());
    }
    return Sha256::hex(sha.finish());
}

struct Result {
    int64_t ticks = 0;
    double wall_s = 0;
    std::string hash;
};

// One run; false when the scenario did not load (its box was shown).
bool run_once(const Args& a, Result& r)
{
    Configuration config;
    config.timer_enabled = false;
    SessionManager sessions(config, a.all ? department_assembly() : DepartmentFactory(base_departments));
    StartOptions options;
    options.seed = a.seed;
    if (!sessions.StartSession(a.scenario, options))
        return false;
    CVornView& v = *sessions.view();
    SimDateTime target = target_of(v.clock.current, a);
    int32_t first = v.tick_count;
    v.run_until = target;
    v.SetRunState(RUN_RUNNING);

    auto begin = std::chrono::steady_clock::now();
    for (;;) {
        sessions.IdleStep();
        if (v.run_state == RUN_RUNNING)
            continue;
        if (v.run_state == RUN_HOLD) {
            v.RestoreHold();
            continue;
        }
        if (v.run_state == RUN_STOPPED && compare_dates(v.clock.current, target) == 0) {
            v.Continue();
            continue;
        }
        break;
    }
    auto end = std::chrono::steady_clock::now();
    r.ticks = v.tick_count - first;
    r.wall_s = std::chrono::duration<double>(end - begin).count();

    char pattern[] = "/tmp/vorn-bench-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
        std::fprintf(stderr, "vorn_bench: cannot make a temporary folder\n");
        return false;
    }
    std::string session = std::string(pattern) + "/bench.vnb";
    bool saved = v.SaveSession(session, false);
    if (saved)
        r.hash = hash_state(session);
    std::error_code ec;
    fs::remove_all(pattern, ec);
    return saved;
}

} // namespace

int main(int argc, char** argv)
{
    Args a;
    if (!parse(argc, argv, a)) {
        std::fprintf(stderr, "usage: vorn_bench --scenario FILE --seed N [--years 1] [--months M] [--repeat 3]"
                             " [--departments all|base]\n");
        return 2;
    }
    std::error_code ec;
    fs::path scenario = fs::absolute(a.scenario, ec);
    a.scenario = scenario.string();
    // The scenario's folder is the program's data folder: the random tables
    // and the other data files are found there.
    if (scenario.has_parent_path())
        fs::current_path(scenario.parent_path(), ec);

    std::vector<Result> runs;
    for (int i = 0; i < a.repeat; ++i) {
        Result r;
        if (!run_once(a, r))
            return 1;
        if (!runs.empty() && r.hash != runs.front().hash) {
            std::fprintf(stderr, "vorn_bench: run %d gave another state (%s, first %s)\n", i + 1, r.hash.c_str(),
                         runs.front().hash.c_str());
            return 3;
        }
        runs.push_back(r);
    }
    double best = runs.front().wall_s;
    for (const Result& r : runs)
        best = std::min(best, r.wall_s);
    // Every department's run is timed beside the session alone, over the same
    // simulated time, so the departments' share of a tick shows.
    double base_best = -1;
    int64_t base_ticks = 0;
    if (a.all) {
        Args base = a;
        base.all = false;
        for (int i = 0; i < a.repeat; ++i) {
            Result b;
            if (!run_once(base, b))
                return 1;
            base_ticks = b.ticks;
            base_best = base_best < 0 ? b.wall_s : std::min(base_best, b.wall_s);
        }
    }
    const Result& r = runs.front();
    std::printf("ticks %lld\n", static_cast<long long>(r.ticks));
    std::printf("sim_min_per_s %.0f\n", best > 0 ? static_cast<double>(r.ticks) / best : 0.0);
    std::printf("wall_s %.6f\n", best);
    std::printf("ns_per_tick %.0f\n", r.ticks > 0 ? best * 1e9 / static_cast<double>(r.ticks) : 0.0);
    std::printf("departments %s\n", a.all ? "all" : "base");
    if (base_best >= 0) {
        std::printf("base_wall_s %.6f\n", base_best);
        std::printf("base_ns_per_tick %.0f\n",
                    base_ticks > 0 ? base_best * 1e9 / static_cast<double>(base_ticks) : 0.0);
    }
    std::printf("seed %d\n", a.seed);
    std::printf("state_sha256 %s\n", r.hash.c_str());
    return 0;
}
