// The fuzz targets' seeds, replayed: every seed runs through its reader's
// checks (a broken bound ends the test process).
#include "support/tutor_fuzz.h"
#include "support/tutor_test_support.h"
#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

size_t replay(const char* folder, void (*target)(const uint8_t*, size_t))
{
    size_t n = 0;
    for (const auto& e : fs::directory_iterator(fs::path(VORN_TEST_DATA) / "fuzz" / folder)) {
        SCOPED_TRACE(e.path().string());
        const std::string bytes = tutortest::read_bytes(e.path().string());
        target(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        ++n;
    }
    return n;
}

} // namespace

TEST(FuzzSeeds, CommandFiles)
{
    EXPECT_GE(replay("commands", &fuzz_command_file), 5u);
}

TEST(FuzzSeeds, DecisionMenus)
{
    EXPECT_GE(replay("decisions", &fuzz_decision_menu), 3u);
}
