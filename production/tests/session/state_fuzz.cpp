// The session-file fuzz entry: the bytes stand in for one file of a saved session of the sample.
#include "session/state_fuzz.h"
#include "app/view.h"
#include "support/bundled_data.h"
#include "support/driver.h"
#include "support/scenario.h"
#include "vorn/assembly.h"
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

namespace {

const std::string data_dir = bundled_data_copy();

DriverOptions options()
{
    DriverOptions o;
    o.seed = 3;
    o.workdir = data_dir;
    o.config.timer_enabled = false;
    o.factory = department_assembly();
    return o;
}

std::vector<uint8_t> slurp(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void spit(const std::filesystem::path& p, const uint8_t* data, size_t size, const std::vector<uint8_t>& tail = {})
{
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.write(reinterpret_cast<const char*>(tail.data()), static_cast<std::streamsize>(tail.size()));
}

const char* const EXTS[] = {"MGR", "PRC", "MRK", "PRD", "FNC"};

// A saved session of the sample after the given ticks: each state file
// without the set's serial (its last four bytes), the serial apart.
struct SavedSession {
    std::map<std::string, std::vector<uint8_t>> files;
    std::vector<uint8_t> serial;
};

SavedSession save_sample_after(int ticks, const TempDir& dir)
{
    SavedSession saved;
    const std::string session = dir / "base.vnb";
    SessionDriver d;
    // Further into the run the departments' notices and stops come up; each is taken and the
    // run goes on.
    DriverOptions o = options();
    o.continue_on_stop = true;
    if (!d.start(data_dir + "/SAMPLE.VNB", o))
        std::abort();
    d.host().Answer(plat::IDOK, "");
    if (d.runTicks(ticks) != ticks)
        std::abort();
    if (!d.save(session))
        std::abort();
    saved.files["vnb"] = slurp(session);
    for (const char* ext : EXTS) {
        std::vector<uint8_t> bytes = slurp(dir / (std::string("base.") + ext));
        if (bytes.size() < 4)
            std::abort();
        saved.serial.assign(bytes.end() - 4, bytes.end());
        bytes.resize(bytes.size() - 4);
        saved.files[ext] = bytes;
    }
    return saved;
}

// The saved session every input is laid over: the sample a day and a half in.
// Each state file is kept without the set's serial, which every file laid
// down gets back: the inputs stand for a file's contents, so kept inputs stay
// valid when the base session's bytes change.
struct Base {
    TempDir dir;
    std::map<std::string, std::vector<uint8_t>> files;
    std::vector<uint8_t> serial;
    Base()
    {
        SavedSession saved = save_sample_after(480 + 240, dir);
        files = std::move(saved.files);
        serial = std::move(saved.serial);
    }
};

} // namespace

static Base& base()
{
    static Base b;
    return b;
}

const std::vector<uint8_t>& base_session_file(const char* ext) { return base().files[ext]; }

std::vector<uint8_t> later_session_file(const char* ext, int ticks)
{
    TempDir dir;
    return save_sample_after(ticks, dir).files[ext];
}

SessionFileOutcome fuzz_session_file(const char* ext, const uint8_t* data, size_t size)
{
    Base& b = base();
    TempDir dir;
    const std::string session = dir / "s.vnb";
    spit(session, b.files["vnb"].data(), b.files["vnb"].size());
    for (const char* e : EXTS) {
        const auto& bytes = b.files[e];
        const std::filesystem::path p = dir / (std::string("s.") + e);
        if (std::string(e) == ext)
            spit(p, data, size, b.serial);
        else
            spit(p, bytes.data(), bytes.size(), b.serial);
    }
    SessionDriver d;
    if (!d.start(data_dir + "/SAMPLE.VNB", options()))
        std::abort();
    d.host().Answer(plat::IDOK, "");
    const size_t boxes = d.prompts().size();
    if (!d.sessions().StartSession(session, {.seed = 1})) {
        // Refused: with a box, the open session kept.
        if (d.prompts().size() == boxes || d.view().session_open != 1)
            std::abort();
        return SessionFileOutcome::Refused;
    }
    d.runTicks(10 * 480);
    const std::string again = dir / "again.vnb";
    if (!d.save(again))
        std::abort();
    // Whatever the program saves, it opens again.
    SessionDriver reopen;
    if (!reopen.start(data_dir + "/SAMPLE.VNB", options()))
        std::abort();
    reopen.host().Answer(plat::IDOK, "");
    if (!reopen.sessions().StartSession(again, {.seed = 1}))
        std::abort();
    return SessionFileOutcome::Loaded;
}

