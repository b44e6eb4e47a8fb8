// Texts, numbers and files: the utilities shared with the chart library.
#include "foundation/utils.h"
#include "host_p.h"
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <vector>

int get_separated_field(const char* text, int n, std::string& out, char separator)
{
    out.clear();
    if (text == nullptr || n < 1)
        return 0;
    const char* p = text;
    for (int i = 1; i < n; ++i) {
        p = std::strchr(p, separator);
        if (p == nullptr)
            return 0;
        ++p;
    }
    const char* end = std::strchr(p, separator);
    out.assign(p, end != nullptr ? static_cast<size_t>(end - p) : std::strlen(p));
    return 1;
}

int field_position(const char* text, int n, char separator)
{
    if (text == nullptr || *text == '\0' || n < 1)
        return -1;
    const char* p = text;
    for (int i = 1; i < n; ++i) {
        p = std::strchr(p, separator);
        if (p == nullptr)
            return -1;
        ++p;
    }
    return static_cast<int>(p - text);
}

void replace_field(std::string& text, int n, const char* field, char separator)
{
    const int start = field_position(text.c_str(), n, separator);
    if (start < 0)
        return;
    const size_t end = text.find(separator, static_cast<size_t>(start));
    std::string result = text.substr(0, static_cast<size_t>(start));
    result += field != nullptr ? field : "";
    if (end != std::string::npos)
        result += text.substr(end);
    text = std::move(result);
}

int count_fields(const char* text, char separator)
{
    if (text == nullptr || *text == '\0')
        return 0;
    int n = 1;
    for (const char* p = text; *p != '\0'; ++p)
        if (*p == separator)
            ++n;
    return n;
}

std::string remove_char(const char* text, char c)
{
    std::string out;
    for (const char* p = text != nullptr ? text : ""; *p != '\0'; ++p)
        if (*p != c)
            out += *p;
    return out;
}

void remove_blanks(std::string& text)
{
    std::erase(text, ' ');
}

void trim_trailing_blanks(std::string& text)
{
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
}

double parse_double(const char* text)
{
    if (text == nullptr)
        return 0.0;
    while (*text == ' ' || *text == '\t')
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') {
        negative = *text == '-';
        ++text;
    }
    double value = 0.0;
    const auto r = std::from_chars(text, text + std::strlen(text), value, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range)
        value = HUGE_VAL;
    else if (r.ec != std::errc())
        value = 0.0;
    return negative ? -value : value;
}

std::string format_c(const char* format, double value)
{
    // Only the fixed "%0.Nf" and "%.Nf" forms are used; to_chars ignores the locale.
    int decimals = 6;
    if (format != nullptr) {
        const char* dot = std::strchr(format, '.');
        if (dot != nullptr)
            decimals = std::atoi(dot + 1);
    }
    return format_fixed(value, decimals);
}

int validate_number(const char* text, double minimum, double maximum)
{
    if (text == nullptr || *text == '\0')
        return 3;
    const char first = text[0];
    if (first != '-' && first != '+' && (first < '0' || first > '9'))
        return 1;
    int dots = 0;
    int digits = (first >= '0' && first <= '9') ? 1 : 0;
    for (const char* p = text + 1; *p != '\0'; ++p) {
        if (*p == '.')
            ++dots;
        else if (*p >= '0' && *p <= '9')
            ++digits;
        else
            return 1;
    }
    if (dots > 1 || digits == 0)
        return 1;
    const double value = parse_double(text);
    if ((minimum != -1.0 && value < minimum) || (maximum != -1.0 && value > maximum))
        return 2;
    return 0;
}

int has_non_blank(const char* text)
{
    for (const char* p = text != nullptr ? text : ""; *p != '\0'; ++p)
        if (*p != ' ')
            return 1;
    return 0;
}

int is_whole_number(double value)
{
    return std::isfinite(value) && value == std::trunc(value) ? 1 : 0;
}

int decimal_digits(double value)
{
    if (value == 0.0 || !std::isfinite(value))
        return 1;
    double v = std::fabs(value);
    int n = 0;
    if (v >= 1.0) {
        while (v >= 1.0) {
            v /= 10.0;
            ++n;
        }
        return n;
    }
    while (v < 1.0) {
        v *= 10.0;
        --n;
    }
    return n;
}

double shift_decimal(double x, int n)
{
    for (int i = 0; i < n && i < 400; ++i)
        x /= 10.0;
    for (int i = 0; i > n && i > -400; --i)
        x *= 10.0;
    return x;
}

int32_t int_power_of_ten(int n)
{
    if (n < 1)
        return 1;
    if (n >= 10)
        return INT32_MAX;
    int32_t p = 1;
    for (int i = 0; i < n; ++i)
        p *= 10;
    return p;
}

int32_t power_of_ten(int n) { return int_power_of_ten(n); }

std::string format_fixed(double value, int decimals)
{
    if (!std::isfinite(value))
        return "?";
    if (decimals < 0)
        decimals = 0;
    if (decimals > 40)
        decimals = 40;
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    if (r.ec != std::errc())
        return "?";
    return std::string(buf, r.ptr);
}

std::string format_exponent(double value)
{
    if (!std::isfinite(value))
        return "?";
    int exponent = 0;
    if (value >= 100000.0) {
        while (std::fabs(value) > 1.0) {
            value /= 10.0;
            ++exponent;
        }
    } else if (value != 0.0 && value <= 0.00001) {
        while (std::fabs(value) < 0.1) {
            value *= 10.0;
            --exponent;
        }
    }
    std::string mantissa = format_fixed(value, 12);
    if (mantissa.find('.') != std::string::npos) {
        while (!mantissa.empty() && mantissa.back() == '0')
            mantissa.pop_back();
        if (!mantissa.empty() && mantissa.back() == '.')
            mantissa.pop_back();
    }
    if (exponent == 0)
        return mantissa;
    return mantissa + (exponent > 0 ? "e+" : "e-") + std::to_string(exponent > 0 ? exponent : -exponent);
}

double parse_exponent(const char* text)
{
    if (text == nullptr)
        return 0.0;
    const char* e = std::strrchr(text, 'e');
    const char* E = std::strrchr(text, 'E');
    if (E != nullptr && (e == nullptr || E > e))
        e = E;
    if (e == nullptr)
        return parse_double(text);
    const double mantissa = parse_double(std::string(text, e).c_str());
    const double exponent = parse_double(e + 1);
    return shift_decimal(mantissa, -static_cast<int>(std::fmax(-400.0, std::fmin(400.0, exponent))));
}

double nice_step(double x, double range)
{
    if (x == 0.0 || !std::isfinite(x))
        return 0.0;
    const int d = decimal_digits(x);
    double p = 0.0;
    double step = 0.0;
    if (d >= 1) {
        p = std::pow(10.0, d - 1);
        const double whole = std::trunc(x);
        step = whole == p ? p : std::trunc((x + p) / p) * p;
    } else {
        p = std::pow(10.0, d);
        step = p;
    }
    if (step != 0.0 && range / step > 10.0)
        step = 10.0 * p;
    return step;
}

double absolute_value(double x) { return std::fabs(x); }

plat::BOOL file_exists(const char* path, int show_box)
{
    if (file_exists_quiet(path))
        return plat::TRUE;
    if (show_box != 0) {
        char text[600];
        std::snprintf(text, sizeof text, "File %.500s not exist", path != nullptr ? path : "");
        fhost::message_box(0, text, "File not exist", fhost::BOX_OK);
    }
    return plat::FALSE;
}

plat::BOOL file_exists_quiet(const char* path)
{
    const std::string p = fhost::resolve(path);
    struct stat st {};
    if (p.empty() || ::stat(p.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return plat::FALSE;
    std::FILE* f = std::fopen(p.c_str(), "rb");
    if (f == nullptr)
        return plat::FALSE;
    std::fclose(f);
    return plat::TRUE;
}

int32_t file_size(const char* path)
{
    const std::string p = fhost::resolve(path);
    struct stat st {};
    if (p.empty() || ::stat(p.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return -1;
    return st.st_size > INT32_MAX ? INT32_MAX : static_cast<int32_t>(st.st_size);
}

namespace {

// Copies through a temporary file beside the target, renamed over it only
// when every read and write succeeded.
bool copy_through(const char* source, const char* target, size_t chunk)
{
    std::FILE* in = fhost::open_file(source, "rb");
    if (in == nullptr)
        return false;
    const std::string to = fhost::resolve(target);
    if (to.empty()) {
        std::fclose(in);
        return false;
    }
    const std::string temp = to + ".tmp";
    std::FILE* out = std::fopen(temp.c_str(), "wb");
    if (out == nullptr) {
        std::fclose(in);
        return false;
    }
    std::vector<char> buffer(chunk);
    bool ok = true;
    for (;;) {
        const size_t n = std::fread(buffer.data(), 1, chunk, in);
        if (n > 0 && std::fwrite(buffer.data(), 1, n, out) != n) {
            ok = false;
            break;
        }
        if (n < chunk) {
            ok = std::ferror(in) == 0;
            break;
        }
    }
    std::fclose(in);
    if (std::fclose(out) != 0)
        ok = false;
    if (ok && std::rename(temp.c_str(), to.c_str()) != 0)
        ok = false;
    if (!ok)
        std::remove(temp.c_str());
    return ok;
}

} // namespace

plat::BOOL copy_file(const char* source, const char* target)
{
    const int32_t size = file_size(source);
    if (size < 0)
        return plat::FALSE;
    return copy_through(source, target, static_cast<size_t>(size) + 1) ? plat::TRUE : plat::FALSE;
}

plat::BOOL copy_file_chunked(const char* source, const char* target)
{
    return copy_through(source, target, 10000) ? plat::TRUE : plat::FALSE;
}

plat::BOOL is_directory(const char* path)
{
    const std::string p = fhost::resolve(path);
    struct stat st {};
    return !p.empty() && ::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? plat::TRUE : plat::FALSE;
}

namespace {

size_t last_component(const std::string& path)
{
    const size_t sep = path.find_last_of("\\/");
    return sep == std::string::npos ? 0 : sep + 1;
}

} // namespace

std::string base_name_buffer(const char* path)
{
    std::string p = path != nullptr ? path : "";
    const size_t dot = p.find('.', last_component(p));
    if (dot != std::string::npos)
        p.resize(dot);
    return p;
}

void strip_extension(std::string& name)
{
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot >= last_component(name))
        name.resize(dot);
}

std::string extension_of(const char* name)
{
    const std::string p = name != nullptr ? name : "";
    const size_t dot = p.find('.', last_component(p));
    return dot == std::string::npos ? std::string() : p.substr(dot + 1);
}

void cut_file_name(std::string& path)
{
    const size_t sep = path.find_last_of("\\/");
    if (sep != std::string::npos)
        path.resize(sep);
}

std::string folder_of(const char* path)
{
    std::string p = path != nullptr ? path : "";
    cut_file_name(p);
    return p;
}

std::string file_name_of(const char* path)
{
    const std::string p = path != nullptr ? path : "";
    return p.substr(last_component(p));
}
