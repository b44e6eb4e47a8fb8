// The sectioned scenario reader as the plant loader uses it; its failures do not return.
#pragma once
#include <cstdint>
#include <string>

class PlantDataSource {
public:
    virtual ~PlantDataSource() = default;
    // A required section: its absence is the fatal SECTION error.
    virtual void find_section(const char* name) = 0;
    // Selects record `record` of topic `topic`; answers its item count. Missing: fatal RECORD error.
    virtual int16_t get_record(int16_t topic, int16_t record) = 0;
    // Items of the selected record, from 1. Missing: fatal ITEM error.
    virtual int32_t item_int(int16_t n) = 0;
    virtual double item_float(int16_t n) = 0;
    virtual char item_char(int16_t n) = 0;
    virtual std::string item_text(int16_t n) = 0;
    // "Data Loading Error" for the item last read (level 2) or the record (1).
    [[noreturn]] virtual void load_error(int level) = 0;
};
