// The sectioned data files: index build, section texts, records and items.
// Offsets are raw file offsets; texts are handed out with CR LF as LF and
// uncoded, so plain, coded and CR LF twins read alike.
#include "foundation/datafile.h"
#include "foundation/coder.h"
#include "foundation/utils.h"
#include "host_p.h"
#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr size_t kChunk = 49999;
constexpr int16_t kMaxSections = 32000;

DataFilePosition g_position{};

void set_position_section(const char* name)
{
    std::snprintf(g_position.section, sizeof g_position.section, "%.79s", name != nullptr ? name : "");
}

std::string strip_cr(const char* data, size_t n)
{
    std::string out;
    out.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        if (data[i] == '\r' && i + 1 < n && data[i + 1] == '\n')
            continue;
        out += data[i];
    }
    return out;
}

bool is_gap(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

} // namespace

DataFilePosition& data_file_position() { return g_position; }

DataFile::~DataFile() { Close(); }

void DataFile::Close()
{
    if (file_ != nullptr)
        std::fclose(file_);
    file_ = nullptr;
}

bool DataFile::Open(const char* path)
{
    Close();
    index_.Clear();
    coded_ = is_coded_file(path) != 0;
    file_ = fhost::open_file(path, "rb");
    if (file_ == nullptr)
        return false;

    std::vector<char> buffer(kChunk + 1);
    long chunk_offset = 0;
    for (;;) {
        if (std::fseek(file_, chunk_offset, SEEK_SET) != 0)
            break;
        const size_t got = std::fread(buffer.data(), 1, kChunk, file_);
        if (got == 0)
            break;
        buffer[got] = '\0';
        const bool full = got == kChunk;
        const char* chunk = buffer.data();
        const char* end = chunk + got;
        const char* p = chunk;
        long restart = -1;  // file offset to read the next chunk from
        for (;;) {
            const char* open = static_cast<const char*>(std::memchr(p, '[', static_cast<size_t>(end - p)));
            if (open == nullptr)
                break;
            const char* close = static_cast<const char*>(std::memchr(open, ']', static_cast<size_t>(end - open)));
            const char* caret = nullptr;
            std::string name;
            if (close != nullptr) {
                name.assign(open + 1, close);
                if (coded_)
                    uncode_string(name);
                if (name.size() > static_cast<size_t>(MAX_SECTION_NAME)) {
                    set_position_section(name.c_str());
                    Close();
                    data_load_error(LOAD_SECTION);
                }
                caret = name == "END OF FILE"
                            ? close
                            : static_cast<const char*>(std::memchr(close, '^', static_cast<size_t>(end - close)));
            }
            if (close == nullptr || caret == nullptr) {
                // The header, or its first "^", lies beyond this chunk: read on
                // from the "[". A header that does not fit one chunk is damage.
                if (open == chunk) {
                    if (full) {
                        set_position_section(name.c_str());
                        Close();
                        data_load_error(LOAD_SECTION);
                    }
                    restart = -2;  // the end of the file: nothing more to index
                } else {
                    restart = chunk_offset + (open - chunk);
                }
                break;
            }
            if (index_.Count() >= kMaxSections) {
                set_position_section(name.c_str());
                Close();
                data_load_error(LOAD_SECTION);
            }
            auto* entry = new FileIndexEntry{};
            std::snprintf(entry->name, sizeof entry->name, "%s", name.c_str());
            entry->offset = static_cast<int32_t>(chunk_offset + (caret - chunk));
            index_.Add(entry);
            p = close + 1;
        }
        if (restart == -2)
            break;
        if (restart >= 0) {
            chunk_offset = restart;
            continue;
        }
        if (!full)
            break;
        chunk_offset += static_cast<long>(got);
    }
    const int16_t n = index_.Count();
    for (int16_t i = 0; i < n; ++i)
        index_.GetAt(i)->length = i + 1 < n ? index_.GetAt(static_cast<int16_t>(i + 1))->offset - index_.GetAt(i)->offset : 0;
    return true;
}

int find_section(DataFile& file, const char* name, std::string& text, int must_exist)
{
    set_position_section(name);
    text.clear();
    const FileIndexEntry* found = nullptr;
    if (file.file_ != nullptr && name != nullptr) {
        const int16_t n = file.index_.Count();
        for (int16_t i = 0; i + 1 < n && found == nullptr; ++i)
            if (std::strcmp(file.index_.GetAt(i)->name, name) == 0)
                found = file.index_.GetAt(i);
    }
    if (found == nullptr) {
        if (must_exist != 0) {
            file.Close();
            data_load_error(LOAD_SECTION);
        }
        return 0;
    }
    // CR LF halves at most; anything longer cannot hold 32767 bytes of text.
    if (found->length < 0 || found->length > 2 * MAX_SECTION_TEXT) {
        file.Close();
        data_load_error(LOAD_SECTION);
    }
    std::vector<char> raw(static_cast<size_t>(found->length));
    if (std::fseek(file.file_, found->offset, SEEK_SET) != 0 ||
        std::fread(raw.data(), 1, raw.size(), file.file_) != raw.size()) {
        file.Close();
        data_load_error(LOAD_SECTION);
    }
    text = strip_cr(raw.data(), raw.size());
    if (text.size() > static_cast<size_t>(MAX_SECTION_TEXT)) {
        text.clear();
        file.Close();
        data_load_error(LOAD_SECTION);
    }
    if (file.coded_)
        uncode_string(text);
    return 1;
}

int16_t get_record(int16_t topic, int16_t record, const std::string& section, std::string& out)
{
    g_position.topic = topic;
    g_position.record = record;
    out.clear();
    if (topic < 1 || record < 1)
        data_load_error(LOAD_RECORD);
    const size_t n = section.size();
    size_t i = 0;
    for (int16_t t = 1; t < topic; ++t) {
        const size_t dollar = section.find('$', i);
        if (dollar == std::string::npos)
            data_load_error(LOAD_RECORD);
        i = dollar + 1;
    }
    for (int16_t r = 1; r < record; ++r) {
        while (i < n && section[i] != '@' && section[i] != '$')
            ++i;
        if (i >= n || section[i] == '$')
            data_load_error(LOAD_RECORD);
        ++i;  // past the "@"
        // Records and "$" may stand on lines of their own: look past the gap.
        size_t next = i;
        while (next < n && is_gap(section[next]))
            ++next;
        if (next >= n || section[next] == '$' || section[next] == '[')
            data_load_error(LOAD_RECORD);
    }
    while (i < n && is_gap(section[i]))
        ++i;
    int16_t carets = 0;
    const size_t start = i;
    while (i < n && section[i] != '@') {
        if (section[i] == '$' || section[i] == '[')
            data_load_error(LOAD_RECORD);
        if (section[i] == '^')
            ++carets;
        ++i;
    }
    if (i >= n)
        data_load_error(LOAD_RECORD);
    out.assign(section, start, i - start);
    return carets > 0 ? static_cast<int16_t>(carets - 1) : 0;
}

void get_item(int16_t n, const std::string& record, std::string& out)
{
    g_position.item = n;
    out.clear();
    if (n < 1)
        data_load_error(LOAD_ITEM);
    size_t i = 0;
    for (int16_t k = 0; k < n; ++k) {
        const size_t caret = record.find('^', i);
        if (caret == std::string::npos)
            data_load_error(LOAD_ITEM);
        i = caret + 1;
    }
    const size_t close = record.find('^', i);
    if (close == std::string::npos)
        data_load_error(LOAD_ITEM);
    out.assign(record, i, close - i);
}

namespace {

std::string short_item(int16_t n, const std::string& record)
{
    std::string item;
    get_item(n, record, item);
    if (item.size() > static_cast<size_t>(MAX_ITEM_TEXT))
        data_load_error(LOAD_ITEM);
    return item;
}

} // namespace

int32_t get_item_int(int16_t n, const std::string& record)
{
    const std::string item = short_item(n, record);
    size_t i = 0;
    while (i < item.size() && is_gap(item[i]))
        ++i;
    bool negative = false;
    if (i < item.size() && (item[i] == '-' || item[i] == '+'))
        negative = item[i++] == '-';
    int64_t v = 0;
    while (i < item.size() && item[i] >= '0' && item[i] <= '9') {
        v = v * 10 + (item[i++] - '0');
        if (v > INT32_MAX)
            v = static_cast<int64_t>(INT32_MAX) + 1;
    }
    if (negative)
        v = -v;
    if (v > INT32_MAX)
        v = INT32_MAX;
    return static_cast<int32_t>(v);
}

double get_item_float(int16_t n, const std::string& record)
{
    const std::string item = short_item(n, record);
    std::string trimmed = item;
    size_t i = 0;
    while (i < trimmed.size() && is_gap(trimmed[i]))
        ++i;
    return parse_double(trimmed.c_str() + i);
}

char get_item_char(int16_t n, const std::string& record)
{
    const std::string item = short_item(n, record);
    return item.empty() ? '\0' : item[0];
}

int16_t count_items(const std::string& record)
{
    int carets = 0;
    for (char c : record)
        if (c == '^')
            ++carets;
    if (carets < 1)
        return 0;
    return static_cast<int16_t>(carets - 1 > INT16_MAX ? INT16_MAX : carets - 1);
}

int32_t count_records(const std::string& text)
{
    int32_t n = 0;
    for (char c : text)
        if (c == '@')
            ++n;
    return n;
}

void data_load_error(int level)
{
    static const char* const kLevels[3] = {"SECTION", "RECORD", "ITEM"};
    if (level < 0 || level > 2)
        level = 0;
    char text[512];
    int len = std::snprintf(text, sizeof text, "\n Data loading error - unable to load %s\n\n Section name : %s",
                            kLevels[level], g_position.section);
    if (level >= LOAD_RECORD)
        len += std::snprintf(text + len, sizeof text - static_cast<size_t>(len), "\n Topic num : %d\n Record num : %d",
                             g_position.topic, g_position.record);
    if (level == LOAD_ITEM)
        std::snprintf(text + len, sizeof text - static_cast<size_t>(len), "\n Item num : %d", g_position.item);
    fhost::fatal_exit(text, "Data Loading Error", 1, false);
}

bool replace_record(std::string& data, const char* header_line, int16_t topic, int16_t record,
                    const char* new_record)
{
    if (header_line == nullptr || new_record == nullptr || topic < 1 || record < 1)
        return false;
    const std::string header = header_line;
    size_t i = 0;
    bool found = false;
    while (i < data.size()) {
        size_t eol = data.find('\n', i);
        const size_t line_end = eol == std::string::npos ? data.size() : eol;
        size_t cmp_end = line_end;
        if (cmp_end > i && data[cmp_end - 1] == '\r')
            --cmp_end;
        const bool match = data.compare(i, cmp_end - i, header) == 0 && cmp_end - i == header.size();
        i = eol == std::string::npos ? data.size() : eol + 1;
        if (match) {
            found = true;
            break;
        }
    }
    if (!found)
        return false;
    size_t start = i;
    size_t marker = std::string::npos;
    for (int16_t t = 1; t < topic; ++t) {
        marker = data.find('$', marker == std::string::npos ? i : marker + 1);
        if (marker == std::string::npos)
            return false;
    }
    for (int16_t r = 1; r < record; ++r) {
        marker = data.find('@', marker == std::string::npos ? i : marker + 1);
        if (marker == std::string::npos)
            return false;
    }
    if (marker != std::string::npos) {
        start = marker + 1;
        if (start < data.size() && data[start] == '\r')
            ++start;
        if (start < data.size() && data[start] == '\n')
            ++start;
    }
    const size_t at = data.find('@', start);
    if (at == std::string::npos)
        return false;
    data.replace(start, at + 1 - start, new_record);
    return true;
}

void format_float_items(const float* values, int n, std::string& out)
{
    out.clear();
    for (int i = 0; values != nullptr && i < n; ++i)
        out += "^" + format_fixed(values[i], 1);
}

void format_short_items(const int16_t* values, int n, std::string& out)
{
    out.clear();
    for (int i = 0; values != nullptr && i < n; ++i)
        out += "^" + std::to_string(values[i]);
}

void end_record(std::string& text) { text += "^@"; }

void append_line(std::string& text, const char* line)
{
    text += '\n';
    text += line != nullptr ? line : "";
}

void copy_after_two_chars(const char* text, std::string& out)
{
    const size_t n = text != nullptr ? std::strlen(text) : 0;
    out = n > 2 ? std::string(text + 2) : std::string();
}

float min_float(const float* values, int n)
{
    if (values == nullptr || n < 1)
        return 0.0f;
    float m = values[0];
    for (int i = 1; i < n; ++i)
        if (values[i] < m)
            m = values[i];
    return m;
}

float max_float(const float* values, int n)
{
    if (values == nullptr || n < 1)
        return 0.0f;
    float m = values[0];
    for (int i = 1; i < n; ++i)
        if (values[i] > m)
            m = values[i];
    return m;
}

int32_t round_half_up(float value)
{
    if (!std::isfinite(value))
        return 0;
    const double v = value;
    const double whole = std::trunc(v);
    double r = whole;
    if (std::fabs(v - whole) >= 0.5)
        r += v < 0 ? -1.0 : 1.0;
    if (r >= 2147483647.0)
        return INT32_MAX;
    if (r <= -2147483648.0)
        return INT32_MIN;
    return static_cast<int32_t>(r);
}

void pad_left(std::string& text, int width, char fill)
{
    if (width < 0)
        width = 0;
    const size_t w = static_cast<size_t>(width);
    if (text.size() >= w)
        text.resize(w);
    else
        text.insert(0, w - text.size(), fill);
}

void pad_right(std::string& text, int count, char fill)
{
    if (count > 0)
        text.append(static_cast<size_t>(count), fill);
}

void insert_thousands_separators(std::string& text)
{
    remove_blanks(text);
    std::string sign;
    size_t i = 0;
    if (!text.empty() && text[0] == '-') {
        sign = "-";
        i = 1;
    }
    const size_t dot = text.find('.', i);
    const std::string whole = text.substr(i, dot == std::string::npos ? std::string::npos : dot - i);
    const std::string rest = dot == std::string::npos ? std::string() : text.substr(dot);
    std::string grouped;
    for (size_t k = 0; k < whole.size(); ++k) {
        if (k > 0 && (whole.size() - k) % 3 == 0)
            grouped += ',';
        grouped += whole[k];
    }
    text = sign + grouped + rest;
}

void insert_dollar_sign(std::string& text)
{
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    text.insert(i, "$");
}
