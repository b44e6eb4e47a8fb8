// Private profiles and WIN.INI: read and edited line by line, so comments,
// order and other programs' entries survive a write.
#include "plat/profile.h"
#include "plat/config.h"
#include "plat/path.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace plat {

namespace {

// Profiles are small; anything larger is not one of ours.
constexpr off_t MAX_PROFILE_BYTES = 4 * 1024 * 1024;

bool ieq(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z')
            x = static_cast<unsigned char>(x + 32);
        if (y >= 'A' && y <= 'Z')
            y = static_cast<unsigned char>(y + 32);
        if (x != y)
            return false;
    }
    return true;
}

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::string profile_path(const char* file)
{
    if (!file || !*file)
        file = "win.ini";
    if (!std::strpbrk(file, "/\\"))
        return ResolvePath((ProfileDir() + "/" + file).c_str());
    return ResolvePath(file);
}

bool read_lines(const std::string& path, std::vector<std::string>& lines)
{
    lines.clear();
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    struct stat st;
    if (::fstat(::fileno(f), &st) != 0 || st.st_size > MAX_PROFILE_BYTES) {
        std::fclose(f);
        return false;
    }
    std::string data;
    char buf[4096];
    size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, f)) > 0 && data.size() <= static_cast<size_t>(MAX_PROFILE_BYTES))
        data.append(buf, got);
    std::fclose(f);
    size_t start = 0;
    while (start < data.size()) {
        size_t end = data.find('\n', start);
        if (end == std::string::npos)
            end = data.size();
        std::string line = data.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return true;
}

// "[name]" -> name; false for other lines.
bool section_of(std::string_view line, std::string_view& name)
{
    line = trim(line);
    if (line.empty() || line.front() != '[')
        return false;
    const size_t close = line.find(']');
    name = trim(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
    return true;
}

// "key = value" -> key and value (trimmed); false when there is no '='.
bool entry_of(std::string_view line, std::string_view& key, std::string_view& value)
{
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return false;
    key = trim(line.substr(0, eq));
    value = trim(line.substr(eq + 1));
    return true;
}

std::string unquote(std::string_view v)
{
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return std::string(v);
}

// Copies a NUL-terminated string, truncating; returns the bytes copied.
DWORD copy_out(std::string_view s, char* buf, DWORD size)
{
    if (!buf || size == 0)
        return 0;
    const size_t n = s.size() < size - 1 ? s.size() : size - 1;
    std::memcpy(buf, s.data(), n);
    buf[n] = '\0';
    return static_cast<DWORD>(n);
}

// A list of NUL-terminated names ending in a second NUL; truncated lists
// end in two NULs too and return size-2.
DWORD copy_list(const std::vector<std::string>& names, char* buf, DWORD size)
{
    if (!buf || size == 0)
        return 0;
    if (size == 1) {
        buf[0] = '\0';
        return 0;
    }
    std::string all;
    for (const auto& n : names) {
        all += n;
        all.push_back('\0');
    }
    if (all.size() + 1 <= size) {
        std::memcpy(buf, all.data(), all.size());
        buf[all.size()] = '\0';
        if (all.empty())
            buf[1 < size ? 1 : 0] = '\0';
        return static_cast<DWORD>(all.size());
    }
    std::memcpy(buf, all.data(), size - 2);
    buf[size - 2] = '\0';
    buf[size - 1] = '\0';
    return size - 2;
}

bool find_value(const std::vector<std::string>& lines, std::string_view section,
                std::string_view key, std::string& value)
{
    bool inSection = false;
    for (const auto& line : lines) {
        std::string_view name, k, v;
        if (section_of(line, name)) {
            inSection = ieq(name, section);
            continue;
        }
        if (inSection && entry_of(line, k, v) && ieq(k, key)) {
            value = unquote(v);
            return true;
        }
    }
    return false;
}

bool write_lines(const std::string& path, const std::vector<std::string>& lines)
{
    std::string data;
    for (const auto& l : lines) {
        data += l;
        data += "\r\n";
    }
    std::string tmp = path + ".XXXXXX";
    const int fd = ::mkostemp(tmp.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = true;
    for (size_t done = 0; ok && done < data.size();) {
        const ssize_t put = ::write(fd, data.data() + done, data.size() - done);
        if (put < 0)
            ok = false;
        else
            done += static_cast<size_t>(put);
    }
    ok = ::fchmod(fd, 0644) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    if (ok && ::rename(tmp.c_str(), path.c_str()) == 0)
        return true;
    ::unlink(tmp.c_str());
    return false;
}

} // namespace

DWORD GetPrivateProfileString(const char* section, const char* key, const char* def, char* buf,
                              DWORD size, const char* file)
{
    std::vector<std::string> lines;
    read_lines(profile_path(file), lines);
    if (!section) {
        std::vector<std::string> names;
        for (const auto& line : lines) {
            std::string_view name;
            if (section_of(line, name))
                names.emplace_back(name);
        }
        return copy_list(names, buf, size);
    }
    if (!key) {
        std::vector<std::string> names;
        bool inSection = false;
        for (const auto& line : lines) {
            std::string_view name, k, v;
            if (section_of(line, name))
                inSection = ieq(name, section);
            else if (inSection && entry_of(line, k, v))
                names.emplace_back(k);
        }
        return copy_list(names, buf, size);
    }
    std::string value;
    if (!find_value(lines, section, key, value))
        value = std::string(trim(def ? def : ""));
    return copy_out(value, buf, size);
}

UINT GetPrivateProfileInt(const char* section, const char* key, int def, const char* file)
{
    if (!section || !key)
        return static_cast<UINT>(def);
    std::vector<std::string> lines;
    read_lines(profile_path(file), lines);
    std::string value;
    if (!find_value(lines, section, key, value))
        return static_cast<UINT>(def);
    size_t i = 0;
    bool negative = false;
    if (i < value.size() && (value[i] == '-' || value[i] == '+'))
        negative = value[i++] == '-';
    uint32_t n = 0;
    while (i < value.size() && value[i] >= '0' && value[i] <= '9')
        n = n * 10u + static_cast<uint32_t>(value[i++] - '0');
    return negative ? 0u - n : n;
}

BOOL WritePrivateProfileString(const char* section, const char* key, const char* value,
                               const char* file)
{
    if (!section)
        return key || value ? FALSE : TRUE; // all NULL: flush, nothing is cached
    const std::string path = profile_path(file);
    std::vector<std::string> lines;
    const bool existed = read_lines(path, lines);

    // Where the section is: its header line and the end of its last entry.
    size_t header = lines.size(), end = lines.size(), nextSection = lines.size();
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string_view name;
        if (!section_of(lines[i], name))
            continue;
        if (header == lines.size()) {
            if (ieq(name, section)) {
                header = i;
                end = i + 1;
            }
        } else {
            nextSection = i;
            break;
        }
    }
    if (header < lines.size())
        for (size_t i = header + 1; i < nextSection; ++i)
            if (!trim(lines[i]).empty())
                end = i + 1;

    if (!key) {
        if (header == lines.size())
            return TRUE;
        lines.erase(lines.begin() + static_cast<ptrdiff_t>(header),
                    lines.begin() + static_cast<ptrdiff_t>(nextSection));
        return write_lines(path, lines) ? TRUE : FALSE;
    }

    size_t found = lines.size();
    if (header < lines.size())
        for (size_t i = header + 1; i < nextSection; ++i) {
            std::string_view k, v;
            if (entry_of(lines[i], k, v) && ieq(k, key)) {
                found = i;
                break;
            }
        }
    if (!value) {
        if (found == lines.size())
            return TRUE;
        lines.erase(lines.begin() + static_cast<ptrdiff_t>(found));
        return write_lines(path, lines) ? TRUE : FALSE;
    }
    const std::string entry = std::string(key) + "=" + value;
    if (found < lines.size()) {
        lines[found] = entry;
    } else if (header < lines.size()) {
        lines.insert(lines.begin() + static_cast<ptrdiff_t>(end), entry);
    } else {
        if (existed && !lines.empty() && !trim(lines.back()).empty())
            lines.emplace_back();
        lines.push_back("[" + std::string(section) + "]");
        lines.push_back(entry);
    }
    return write_lines(path, lines) ? TRUE : FALSE;
}

DWORD GetProfileString(const char* section, const char* key, const char* def, char* buf, DWORD size)
{
    return GetPrivateProfileString(section, key, def, buf, size, "win.ini");
}

UINT GetProfileInt(const char* section, const char* key, int def)
{
    return GetPrivateProfileInt(section, key, def, "win.ini");
}

BOOL WriteProfileString(const char* section, const char* key, const char* value)
{
    return WritePrivateProfileString(section, key, value, "win.ini");
}

} // namespace plat
