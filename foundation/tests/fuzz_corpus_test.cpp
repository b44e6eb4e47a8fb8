#include "fuzz/fuzz_targets.h"
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

// Every input kept in tests/data/fuzz/<reader>/ (the fixtures that once
// broke a reader, and a few seeds) runs through its reader on every build.
TEST(FuzzCorpus, KeptInputsReadCleanly)
{
    struct Reader {
        const char* folder;
        void (*run)(const uint8_t*, size_t);
    };
    const Reader readers[] = {{"datafile", fuzz_datafile},
                              {"randtables", fuzz_randtables},
                              {"lang", fuzz_lang},
                              {"coded", fuzz_coded},
                              {"bitmap", fuzz_bitmap}};
    int files = 0;
    for (const Reader& r : readers) {
        const std::filesystem::path dir = std::filesystem::path(VORN_TEST_DATA) / "fuzz" / r.folder;
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            SCOPED_TRACE(entry.path().string());
            std::ifstream in(entry.path(), std::ios::binary);
            const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            r.run(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
            ++files;
        }
    }
    EXPECT_GT(files, 5);
}
