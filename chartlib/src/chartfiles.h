// Private to chartlib/src. Readers of the chart data files, working on the
// bytes of a whole file so that no count from a file is trusted.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qxi {

// Element types of data vectors.
inline constexpr int TYPE_LONG = 0;
inline constexpr int TYPE_FLOAT = 1;
inline constexpr int TYPE_DOUBLE = 2;

// Values of one axis, each exactly representable in `type`.
struct Series {
    int type = TYPE_DOUBLE;
    std::vector<double> values;
};

// Reader errors, as the loaders map them to error indexes.
enum ReadError : int {
    READ_OK = 0,
    READ_OPEN = 1,      // -> 9
    READ_FORMAT = 2,    // -> 10
    READ_MEMORY = 3,    // -> 13
    READ_SHORT = 4,     // -> 11
    READ_PARAM = 6,     // -> 16
};

// The conversions a value goes through on its way into a vector.
int32_t to_long(double v);   // toward zero, clamped, NaN 0
float to_float(double v);    // rounded to single; beyond range -> infinity
double to_type(double v, int type);

// Whole file into memory; false when it cannot be opened or read.
bool read_whole_file(const char* path, std::vector<uint8_t>& out);

// VEC: "VEC73549", u32 n, u16 X type, u16 Y type, X values, Y values.
ReadError parse_vec(std::span<const uint8_t> file, Series& x, Series& y);

// Raw samples from `offset` (bytes), `count` elements or -1 for all, of
// element type 0 u8, 1 i16, 2 i32, 3 f32, 4 and 5 f64. The series gets the
// vector type the sample type maps to (long, long, float, double, double).
ReadError parse_bin_samples(std::span<const uint8_t> file, int64_t offset, int element_type,
                            int64_t count, Series& out);

// Samples for a binary vector: types 0-3 only, values as doubles.
ReadError parse_bin_vector(std::span<const uint8_t> file, int64_t first_element, int element_type,
                           int64_t count, std::vector<double>& out);

// One number per line (text mode: CR LF is a line end, Ctrl-Z ends the
// file), the first `header_lines` lines skipped, `count` values or -1 for all.
ReadError parse_text_vector(std::span<const uint8_t> file, int header_lines, int64_t count,
                            std::vector<double>& out);

// The leading decimal number of a text, as the C runtime's atof reads it,
// independent of the locale; 0 when there is none.
double leading_number(const char* text, size_t length);

} // namespace qxi
