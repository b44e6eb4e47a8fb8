// The sectioned data files (scenario data file, learn file): the section
// index, section texts, records and items, and the record-building routines.
#pragma once
#include "foundation/rlist.h"
#include "plat/types.h"
#include <cstdint>
#include <cstdio>
#include <string>

struct FileIndexEntry {
    char name[80];   // as between the brackets, uncoded
    int32_t offset;  // raw file offset of the section's first "^"
    int32_t length;  // next entry's offset minus this offset
};
using FileIndexList = RTypedList<FileIndexEntry>;

// The reader's last request, shown in the "Data Loading Error" box.
struct DataFilePosition {
    char section[80];
    int16_t topic;
    int16_t record;
    int16_t item;
};
DataFilePosition& data_file_position();

inline constexpr int32_t MAX_SECTION_TEXT = 32767;
inline constexpr int MAX_SECTION_NAME = 79;
inline constexpr int MAX_ITEM_TEXT = 79;

enum DataLoadLevel : int { LOAD_SECTION = 0, LOAD_RECORD = 1, LOAD_ITEM = 2 };

// One open data file and its section index (built by Open: the index build of
// load_parameters_file). Names may use "\" and any case.
class DataFile {
public:
    DataFile() = default;
    ~DataFile();
    DataFile(const DataFile&) = delete;
    DataFile& operator=(const DataFile&) = delete;

    // False when the file cannot be opened. A damaged index (a name above 79
    // characters, a header further than one chunk from its first "^") is the
    // fatal SECTION error.
    bool Open(const char* path);
    void Close();
    bool IsOpen() const { return file_ != nullptr; }
    bool IsCoded() const { return coded_; }
    const FileIndexList& Index() const { return index_; }

private:
    friend int find_section(DataFile&, const char*, std::string&, int);
    std::FILE* file_ = nullptr;
    bool coded_ = false;
    FileIndexList index_{10, 5, 1};
};

// 1 found (text holds the section's text, line ends as LF, uncoded), 0 not
// found. Not found with must_exist: closes the file, fatal SECTION error.
// A section text above 32767 bytes is the SECTION error too.
int find_section(DataFile& file, const char* name, std::string& text, int must_exist);

// Record `record` of topic `topic` (both from 1) of a section text, without
// its "@"; answers the item count. A missing record is the fatal RECORD error.
int16_t get_record(int16_t topic, int16_t record, const std::string& section, std::string& out);
// Item n (from 1). A missing item, or one above 79 characters when read as a
// number or character, is the fatal ITEM error.
void get_item(int16_t n, const std::string& record, std::string& out);
int32_t get_item_int(int16_t n, const std::string& record);
double get_item_float(int16_t n, const std::string& record);
char get_item_char(int16_t n, const std::string& record);
int16_t count_items(const std::string& record);
int32_t count_records(const std::string& text);
// Shows the "Data Loading Error" box for the last request; ends with code 1.
[[noreturn]] void data_load_error(int level);

// Record building (in-memory texts).
// Replaces the record; false when the header, topic or record is not there.
bool replace_record(std::string& data, const char* header_line, int16_t topic, int16_t record,
                    const char* new_record);
void format_float_items(const float* values, int n, std::string& out);
void format_short_items(const int16_t* values, int n, std::string& out);
void end_record(std::string& text);
void append_line(std::string& text, const char* line);
void copy_after_two_chars(const char* text, std::string& out);

// Number and text routines of the reports.
float min_float(const float* values, int n);
float max_float(const float* values, int n);
// Half away from zero: 2.5 -> 3, -2.5 -> -3, -2.49 -> -2.
int32_t round_half_up(float value);
void pad_left(std::string& text, int width, char fill);
void pad_right(std::string& text, int count, char fill);
void insert_thousands_separators(std::string& text);
void insert_dollar_sign(std::string& text);
