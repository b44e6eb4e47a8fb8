// The market loader's reader over the foundation's sectioned data file: its
// failures are the fatal boxes, which a session's load turns into a refusal.
#pragma once
#include "marketing/market_ports.h"
#include <string>

class DataFile;

class DataFileMarketData : public MarketData {
public:
    explicit DataFileMarketData(DataFile& file) : file_(file) {}
    bool has_section(const char* name) override;
    void find_section(const char* name) override;
    int16_t get_record(int16_t topic, int16_t record) override;
    int32_t item_int(int16_t n) override;
    double item_float(int16_t n) override;
    std::string item_text(int16_t n) override;
    [[noreturn]] void load_error(int level) override;
    [[noreturn]] void index_overflow(const char* name) override;
    [[noreturn]] void refuse(const char* text) override;
    void use_random_tables_file() override;

private:
    DataFile& file_;
    std::string section_;
    std::string record_;
};
