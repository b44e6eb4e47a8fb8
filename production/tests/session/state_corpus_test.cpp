// Session files through the real session start: a damaged header, Purchasing, Production or
// Finance file is refused with the damaged-session box or loads, runs ten working days, saves
// and reopens.
// The same entry is the libFuzzer target of each file (state_fuzz_main.cpp); the kept inputs
// in tests/data/fuzz/<file>/ run through it on every build.
#include "session/state_fuzz.h"
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace {

std::vector<uint8_t> slurp(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The files with a fuzz target of their own here, each with its kept inputs in tests/data/fuzz/<file>/.
const char* const SESSION_READERS[] = {"mgr", "prd", "prc", "fnc"};
// Working days into the run of the later seeds.
const int LATER_SEED_DAYS[] = {25, 70, 180};

} // namespace

TEST(SessionFileCorpus, KeptInputsAreRefusedOrRunAndReopen)
{
    int loaded = 0, refused = 0;
    for (const char* reader : SESSION_READERS) {
        const std::filesystem::path folder = std::filesystem::path(VORN_TEST_DATA) / "fuzz" / reader;
        std::string ext = reader;
        for (char& c : ext)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            SCOPED_TRACE(entry.path().string());
            const std::vector<uint8_t> bytes = slurp(entry.path());
            const SessionFileOutcome o = fuzz_session_file(ext.c_str(), bytes.data(), bytes.size());
            (o == SessionFileOutcome::Loaded ? loaded : refused) += 1;
            // A kept input's name says what it must do.
            const std::string name = entry.path().filename().string();
            if (name.rfind("loads-", 0) == 0) {
                EXPECT_EQ(o, SessionFileOutcome::Loaded);
            }
            if (name.rfind("refused-", 0) == 0) {
                EXPECT_EQ(o, SessionFileOutcome::Refused);
            }
        }
    }
    EXPECT_GT(loaded, 0);
    EXPECT_GT(refused, 0);
}

// Writes the seeds' starting points into VORN_WRITE_SEEDS (run by hand when the file layouts
// change): each file of the base session, and each as the sample saves it further into the
// year, where the lists hold orders, contracts, shipments and a month's and a year's figures.
TEST(SessionFileCorpus, WritesTheBaseFilesWhenAsked)
{
    const char* out = std::getenv("VORN_WRITE_SEEDS");
    if (out == nullptr)
        GTEST_SKIP() << "VORN_WRITE_SEEDS not set";
    auto write = [&](const std::string& name, const std::vector<uint8_t>& bytes) {
        std::ofstream(std::filesystem::path(out) / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    };
    for (const char* ext : {"MGR", "PRD", "PRC", "FNC"})
        write(std::string("base.") + ext, base_session_file(ext));
    for (int days : LATER_SEED_DAYS)
        for (const char* ext : {"PRC", "FNC"})
            write("day-" + std::to_string(days) + "." + ext, later_session_file(ext, days * 480));
}
