// The sample plant read through the foundation's data-file reader.
#include "support/sim.h"
#include "production/datafile_source.h"
#include "foundation/datafile.h"
#include <gtest/gtest.h>
#include <cstdio>

namespace {

// ctest runs each case as its own process in parallel, so every case
// writes a file of its own.
std::string write_temp(const std::string& text, const char* name)
{
    const std::string path = std::string(VORN_BINARY_DIR) + "/" + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    return path;
}

} // namespace

TEST(DataFileReader, ReadsTheSamplePlantAsTheTestReaderDoes)
{
    DataFile file;
    ASSERT_TRUE(file.Open(write_temp(sample_plant_text(), "production_sample_plant.dat").c_str()));
    Fakes f;
    CProductionWnd prod(f.host, f.ui, f.marketing, f.purchasing, f.finance);
    DataFilePlantData data(file);
    prod.load_production_data(data);
    file.Close();

    Sim reference;   // the strict test reader
    EXPECT_EQ(prod.save_plant(), reference.prod.save_plant());
    EXPECT_EQ(prod.Machines.size(), 2u);
    EXPECT_EQ(prod.Jobs[1]->inputs.size(), 3u);
}

TEST(DataFileReaderDeathTest, BoundErrorEndsWithTheDataLoadingBox)
{
    std::string text = sample_plant_text();
    text.replace(text.find("^1^1^8^16^8^@"), 13, "^9^1^8^16^8^@");
    const std::string path = write_temp(text, "production_bad_plant.dat");
    EXPECT_EXIT(
        {
            DataFile file;
            file.Open(path.c_str());
            Fakes f;
            CProductionWnd prod(f.host, f.ui, f.marketing, f.purchasing, f.finance);
            DataFilePlantData data(file);
            prod.load_production_data(data);
        },
        testing::ExitedWithCode(1), "Data loading error - unable to load ITEM");
}
