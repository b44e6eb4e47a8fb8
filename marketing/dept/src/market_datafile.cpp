// The market loader's reader over the foundation's sectioned data file.
#include "marketing/market_datafile.h"
#include "foundation/datafile.h"
#include "foundation/msgbox.h"
#include "foundation/randtables.h"

bool DataFileMarketData::has_section(const char* name)
{
    std::string text;
    return ::find_section(file_, name, text, 0) != 0;
}

void DataFileMarketData::find_section(const char* name) { ::find_section(file_, name, section_, 1); }

int16_t DataFileMarketData::get_record(int16_t topic, int16_t record)
{
    return ::get_record(topic, record, section_, record_);
}

int32_t DataFileMarketData::item_int(int16_t n) { return get_item_int(n, record_); }
double DataFileMarketData::item_float(int16_t n) { return get_item_float(n, record_); }

std::string DataFileMarketData::item_text(int16_t n)
{
    std::string out;
    get_item(n, record_, out);
    return out;
}

void DataFileMarketData::load_error(int level) { data_load_error(level); }

void DataFileMarketData::index_overflow(const char* name)
{
    check_index(0, 0, name);
    fatal_error(name);
}

void DataFileMarketData::refuse(const char* text) { fatal_error(text); }

void DataFileMarketData::use_random_tables_file()
{
    if (!load_random_tables("bgtables.tbl"))
        fatal_error("Unable to load random tables file");
}
