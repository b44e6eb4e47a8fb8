// The plant loader's reader over the foundation's sectioned data file.
#pragma once
#include "production/plant_data_source.h"
#include <string>

class DataFile;

class DataFilePlantData : public PlantDataSource {
public:
    explicit DataFilePlantData(DataFile& file) : file_(&file) {}
    void find_section(const char* name) override;
    int16_t get_record(int16_t topic, int16_t record) override;
    int32_t item_int(int16_t n) override;
    double item_float(int16_t n) override;
    char item_char(int16_t n) override;
    std::string item_text(int16_t n) override;
    [[noreturn]] void load_error(int level) override;

private:
    DataFile* file_;
    std::string section_;
    std::string record_;
};
