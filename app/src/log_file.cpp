// The run log's file layer.
#include "app/log_file.h"
#include "foundation/lang.h"
#include "foundation/msgbox.h"
#include "plat/crt.h"
#include "plat/uihost.h"
#include <cstdio>
#include <cstdlib>

static uint8_t chain_key(uint8_t before2, uint8_t before1)
{
    return static_cast<uint8_t>((before1 * 31u + before2 * 17u + 0x5Au) & 0xFFu);
}

uint8_t scramble_byte(uint8_t text, uint8_t before2, uint8_t before1)
{
    return static_cast<uint8_t>(text ^ chain_key(before2, before1));
}

uint8_t unscramble_byte(uint8_t stored, uint8_t before2, uint8_t before1)
{
    return static_cast<uint8_t>(stored ^ chain_key(before2, before1));
}

static void file_box(const char* text)
{
    lang_message_box(0, text, "Error in file system", plat::MB_OK | plat::MB_ICONSTOP);
}

// A field may hold neither a line end nor the record mark.
static std::string field(const std::string& text)
{
    std::string out = text;
    for (char& c : out)
        if (c == '\n' || c == '`' || c == '\r')
            c = ' ';
    return out;
}

static std::string body_of(const LogFields& fields)
{
    std::string body;
    for (const std::string& f : fields)
        body += field(f) + "\n";
    return body;
}

std::string LogFile::FormatRecord(const std::string& kind, const std::string& body)
{
    return "`" + kind + "\n" + body;
}

int LogFile::WriteHeader(const std::string& path, const std::string& date, const std::string& seed, int32_t s1,
                         int32_t s2)
{
    seed1_ = static_cast<uint8_t>(s1 & 0xFF);
    seed2_ = static_cast<uint8_t>(s2 & 0xFF);
    record_ = body_of({path, date, seed});
    return Append(true);
}

int LogFile::WriteAction(const LogFields& six)
{
    record_ = FormatRecord("action", body_of(six));
    return Append(false);
}

int LogFile::WritePolicy(const LogFields& six)
{
    record_ = FormatRecord("policy", body_of(six));
    return Append(false);
}

int LogFile::WritePartSum(const LogFields& five)
{
    record_ = FormatRecord("part_sum", body_of(five));
    return Append(false);
}

int LogFile::WriteSummary(const LogFields& five, const LogFields& items)
{
    LogFields all = five;
    all.push_back(std::to_string(items.size()));
    all.insert(all.end(), items.begin(), items.end());
    record_ = FormatRecord("summary", body_of(all));
    return Append(false);
}

int LogFile::Append(bool create)
{
    std::FILE* f = plat::crt_fopen(name_.c_str(), create ? "wb" : "a+b");
    if (f == nullptr) {
        file_box("ERROR - Couldn't open requested log file");
        return 0;
    }
    uint8_t b2 = seed1_, b1 = seed2_;
    if (create) {
        uint8_t seeds[2] = {seed1_, seed2_};
        if (std::fwrite(seeds, 1, 2, f) != 2) {
            std::fclose(f);
            file_box("ERROR - Couldn't write log file");
            return 0;
        }
    } else {
        if (std::fseek(f, -2, SEEK_END) != 0) {
            std::fclose(f);
            file_box("ERROR - problems opening log file");
            return 0;
        }
        uint8_t last[2];
        if (std::fread(last, 1, 2, f) != 2) {
            std::fclose(f);
            file_box("ERROR - problems reading from log file");
            return 0;
        }
        if (std::fseek(f, 0, SEEK_END) != 0) {
            std::fclose(f);
            file_box("ERROR - problems opening log file");
            return 0;
        }
        b2 = last[0];
        b1 = last[1];
    }
    std::string stored(record_.size(), '\0');
    for (size_t i = 0; i < record_.size(); ++i) {
        uint8_t s = scramble_byte(static_cast<uint8_t>(record_[i]), b2, b1);
        stored[i] = static_cast<char>(s);
        b2 = b1;
        b1 = s;
    }
    size_t written = std::fwrite(stored.data(), 1, stored.size(), f);
    bool closed = std::fclose(f) == 0;
    if (written != stored.size() || !closed) {
        file_box("ERROR - problems saving log file");
        return 0;
    }
    return 1;
}

static std::vector<std::string> split_lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t nl = text.find('\n', start);
        if (nl == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, nl - start));
        start = nl + 1;
    }
    return lines;
}

static int corrupted(const char* text, const char* caption)
{
    lang_message_box(0, text, caption, plat::MB_OK | plat::MB_ICONSTOP);
    return 0;
}

int LogFile::Read(std::string& header_path, std::string& header_date, std::vector<LogFields>& records,
                  std::vector<LogFields>& sums, LogSummary& summary)
{
    std::FILE* f = plat::crt_fopen(name_.c_str(), "rb");
    if (f == nullptr)
        return 0;
    std::string raw;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        raw.append(buf, n);
    std::fclose(f);
    if (raw.size() < 2)
        return corrupted("Error in Log File", "File Corrupted!");

    std::string text(raw.size() - 2, '\0');
    uint8_t b2 = static_cast<uint8_t>(raw[0]), b1 = static_cast<uint8_t>(raw[1]);
    for (size_t i = 2; i < raw.size(); ++i) {
        uint8_t s = static_cast<uint8_t>(raw[i]);
        text[i - 2] = static_cast<char>(unscramble_byte(s, b2, b1));
        b2 = b1;
        b1 = s;
    }

    records.clear();
    sums.clear();
    summary = {};
    size_t mark = text.find('`');
    std::vector<std::string> header = split_lines(text.substr(0, mark));
    header_path = header.size() > 0 ? header[0] : std::string();
    header_date = header.size() > 1 ? header[1] : std::string();

    while (mark != std::string::npos) {
        size_t next = text.find('`', mark + 1);
        std::string piece = text.substr(mark + 1, next == std::string::npos ? std::string::npos : next - mark - 1);
        mark = next;
        if (piece.size() > MAX_LOG_RECORD)
            return corrupted("Something is wrong with the log file", "File Corrupted!");
        if (piece.empty())
            return corrupted("Error in Log File", "File Corrupted!");
        std::vector<std::string> lines = split_lines(piece);
        const std::string& kind = lines[0];
        auto fields = [&](size_t count) {
            LogFields out;
            for (size_t i = 1; i <= count; ++i)
                out.push_back(i < lines.size() ? lines[i] : std::string());
            return out;
        };
        if (kind == "action" || kind == "policy") {
            records.push_back(fields(6));
        } else if (kind == "part_sum") {
            sums.push_back(fields(5));
        } else if (kind == "summary") {
            summary.fields = fields(5);
            long count = lines.size() > 6 ? std::strtol(lines[6].c_str(), nullptr, 10) : 0;
            if (count < 0 || static_cast<size_t>(count) + 7 > lines.size())
                return corrupted("Error - File Corrupted!!!", "ERROR");
            for (long i = 0; i < count; ++i)
                summary.items.push_back(lines[7 + static_cast<size_t>(i)]);
            return 1;
        } else {
            return corrupted("Error - File Corrupted!!!", "ERROR");
        }
    }
    summary.fields = {"---", "---", "---", "---", "---"};
    return 1;
}
