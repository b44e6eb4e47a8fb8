// The plant loader's reader over the foundation's sectioned data file.
#include "production/datafile_source.h"
#include "foundation/datafile.h"

void DataFilePlantData::find_section(const char* name)
{
    ::find_section(*file_, name, section_, 1);
}

int16_t DataFilePlantData::get_record(int16_t topic, int16_t record)
{
    return ::get_record(topic, record, section_, record_);
}

int32_t DataFilePlantData::item_int(int16_t n)
{
    return get_item_int(n, record_);
}

double DataFilePlantData::item_float(int16_t n)
{
    return get_item_float(n, record_);
}

char DataFilePlantData::item_char(int16_t n)
{
    return get_item_char(n, record_);
}

std::string DataFilePlantData::item_text(int16_t n)
{
    std::string out;
    get_item(n, record_, out);
    return out;
}

void DataFilePlantData::load_error(int level)
{
    data_load_error(level);
}
