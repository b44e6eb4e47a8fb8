#include "tutor/command_file.h"
#include "foundation/coder.h"
#include "foundation/utils.h"
#include "plat/path.h"
#include "plat/uihost.h"
#include <cctype>
#include <cstdio>
#include <sys/stat.h>

int16_t parse_command_name(const std::string& keyword)
{
    const int16_t code = keyword.size() <= COMMAND_KEYWORD_MAX ? tutor_code_of(keyword) : TUTOR_UNKNOWN;
    if (code == TUTOR_UNKNOWN) {
        const std::string text =
            "Unknown command found in commands file: " + keyword.substr(0, COMMAND_KEYWORD_MAX);
        plat::MessageBox(0, text.c_str(), STEPLAY_TITLE, plat::MB_OK);
    }
    return code;
}

void CommandFileParser::feed_line(std::string line, bool had_break)
{
    // The records hold C texts: a line ends at a NUL byte.
    if (const size_t nul = line.find('\0'); nul != std::string::npos)
        line.resize(nul);
    if (line.size() > COMMAND_LINE_MAX)
        line.resize(COMMAND_LINE_MAX);
    if (coded_)
        uncode_string(line);
    // A file written with CR LF reads as plain lines.
    std::erase(line, '\r');
    if (!line.empty() && line[0] == ';')
        return;
    if (line.find_first_not_of(' ') == std::string::npos)
        return;
    if (line[0] == '[') {
        const size_t end = line.find(']', 1);
        const std::string keyword = line.substr(1, end == std::string::npos ? std::string::npos : end - 1);
        CommandRecord record;
        record.code = parse_command_name(keyword);
        records_.push_back(std::move(record));
        return;
    }
    if (records_.empty())
        return;
    CommandRecord& record = records_.back();
    record.text += line;
    if (had_break && (record.code == TUTOR_SHOW_TEXT || record.code == TUTOR_CONFIRM_TEXT))
        record.text += "\r\n";
    trim_trailing_blanks(record.text);
    if (record.text.size() > COMMAND_TEXT_MAX)
        record.text.resize(COMMAND_TEXT_MAX);
}

void CommandFileParser::feed_text(const std::string& text)
{
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = text.find('\n', at);
        if (end == std::string::npos) {
            feed_line(text.substr(at), false);
            return;
        }
        feed_line(text.substr(at, end - at), true);
        at = end + 1;
    }
}

bool load_command_file(const std::string& path, std::vector<CommandRecord>& out)
{
    out.clear();
    std::string target;
    struct stat st {};
    if (!plat::ResolvePath(path.c_str(), target) || ::stat(target.c_str(), &st) != 0) {
        const std::string text = "Unable to open wizard file '" + path + "'.";
        plat::MessageBox(0, text.c_str(), "Learning", plat::MB_OK);
        return false;
    }
    const bool coded = is_coded_file(path.c_str()) != plat::FALSE;
    std::FILE* f = S_ISREG(st.st_mode) ? std::fopen(target.c_str(), "rb") : nullptr;
    if (f == nullptr) {
        plat::MessageBox(0, "Unable to open wizard commands file", STEPLAY_TITLE, plat::MB_OK);
        return false;
    }
    CommandFileParser parser(coded);
    std::string line;
    bool pending = false;
    for (int c = 0; (c = std::fgetc(f)) != EOF;) {
        if (c == '\n') {
            parser.feed_line(std::move(line), true);
            line.clear();
            pending = false;
            continue;
        }
        // Only the first part of a long line is kept; the line stays one.
        if (line.size() < COMMAND_LINE_MAX)
            line.push_back(static_cast<char>(c));
        pending = true;
    }
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) {
        plat::MessageBox(0, "Unable to open wizard commands file", STEPLAY_TITLE, plat::MB_OK);
        return false;
    }
    if (pending)
        parser.feed_line(std::move(line), false);
    out = parser.take();
    return true;
}

std::string command_field(const std::string& text, int n)
{
    std::string field;
    get_separated_field(text.c_str(), n, field, ',');
    return field;
}

int32_t command_field_int(const std::string& text, int n)
{
    const std::string field = command_field(text, n);
    size_t i = 0;
    while (i < field.size() && std::isspace(static_cast<unsigned char>(field[i])))
        ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-'))
        negative = field[i++] == '-';
    int64_t value = 0;
    for (; i < field.size() && std::isdigit(static_cast<unsigned char>(field[i])); ++i) {
        value = value * 10 + (field[i] - '0');
        if (value > INT32_MAX)
            return negative ? INT32_MIN : INT32_MAX;
    }
    return static_cast<int32_t>(negative ? -value : value);
}
