// One description per saved record: save, load and the load checks walk the same field table.
//
// Each record is a table of fields in file order. A field names its member,
// its width in the file, the version id whose files first carry it, what the
// member takes when the file predates that id, and the bounds a loaded value
// must keep (a value outside refuses the whole record). A new field is one
// line; a new record is one table and two calls:
//
//   constexpr RecordField<RMachine> machine_tail[] = {
//       field<&RMachine::planning_batch>(U16).since("BG_1020").within(1, 65535),
//       field<&RMachine::request_size_sum>(I32).since("BG_1020").absent(0).within(0, INT32_MAX),
//       field<&RMachine::buffer_capacity>(I32).since("BG_1031").absent(NO_LIMIT),
//       pad<RMachine>(U32),                           // a pointer slot, written 0, never read
//       scenario<&RMachine::unit_price>(I32),         // saved, but the scenario's value stays
//       scenario<&RMachine::number>(U8).agreeing(),   // ... and the file must hold the scenario's
//       field<&RMachine::name>(CHARS, 3),             // fixed text, last byte forced to NUL
//   };
//   write_fields(w, machine, machine_tail, host.file_gate());  // the layout of the file's version
//   read_fields(r, machine, machine_tail, host.file_gate());   // any bool(std::string_view id)
//
// Checks that need other records (an index into a list, a flag that must
// agree with another record) stay with the loader; everything a field can say
// about itself goes here. Lists are written by the record's code: a count,
// then one table-described element each; `file_size` bounds the count.
#pragma once
#include "foundation/binfile.h"
#include <bit>
#include <cstdint>
#include <limits>
#include <string_view>
#include <type_traits>

enum class FileWidth : uint8_t { U8, I8, U16, I16, U32, I32, F32, CHARS };
inline constexpr FileWidth U8 = FileWidth::U8, I8 = FileWidth::I8, U16 = FileWidth::U16, I16 = FileWidth::I16,
                           U32 = FileWidth::U32, I32 = FileWidth::I32, F32 = FileWidth::F32,
                           CHARS = FileWidth::CHARS;

constexpr size_t width_bytes(FileWidth w)
{
    switch (w) {
    case FileWidth::U8:
    case FileWidth::I8:
    case FileWidth::CHARS:
        return 1;
    case FileWidth::U16:
    case FileWidth::I16:
        return 2;
    default:
        return 4;
    }
}

constexpr int64_t width_min(FileWidth w)
{
    switch (w) {
    case FileWidth::I8: return INT8_MIN;
    case FileWidth::I16: return INT16_MIN;
    case FileWidth::I32: return INT32_MIN;
    default: return 0;
    }
}

constexpr int64_t width_max(FileWidth w)
{
    switch (w) {
    case FileWidth::U8: return UINT8_MAX;
    case FileWidth::I8: return INT8_MAX;
    case FileWidth::U16: return UINT16_MAX;
    case FileWidth::I16: return INT16_MAX;
    case FileWidth::I32: return INT32_MAX;
    default: return UINT32_MAX;
    }
}

namespace record_detail {
template <class M> struct member_of;
template <class C, class V> struct member_of<V C::*> {
    using owner = C;
    using type = V;
};

template <class V> constexpr int64_t to_value(const V& v)
{
    if constexpr (std::is_same_v<V, float>)
        return std::bit_cast<uint32_t>(v);
    else
        return static_cast<int64_t>(v);
}

template <class V> constexpr V from_value(int64_t v)
{
    if constexpr (std::is_same_v<V, float>)
        return std::bit_cast<float>(static_cast<uint32_t>(v));
    else
        return static_cast<V>(v);
}
} // namespace record_detail

enum class FieldUse : uint8_t {
    Loaded,     // read into the member
    Scenario,   // written from the member, read and checked, the member keeps the scenario's value
    Pad,        // written as zeros, skipped on reading
};

template <class T> struct RecordField {
    FileWidth width = FileWidth::U8;
    uint16_t count = 1;             // array elements; bytes for CHARS
    FieldUse use = FieldUse::Loaded;
    const char* first = nullptr;    // version id that brought the field; null: every file
    bool keep_when_absent = true;
    int64_t when_absent = 0;
    int64_t lo = INT64_MIN, hi = INT64_MAX;
    bool saturate = false;          // written clamped to the file width instead of cut
    bool agree = false;             // a scenario field whose saved value must be the scenario's
    int64_t (*get)(const T&, int) = nullptr;
    void (*set)(T&, int, int64_t) = nullptr;
    char* (*text)(T&) = nullptr;
    const char* (*ctext)(const T&) = nullptr;

    constexpr RecordField since(const char* id) const { RecordField f = *this; f.first = id; return f; }
    constexpr RecordField absent(int64_t v) const
    {
        RecordField f = *this;
        f.keep_when_absent = false;
        f.when_absent = v;
        return f;
    }
    constexpr RecordField within(int64_t low, int64_t high) const
    {
        RecordField f = *this;
        f.lo = low;
        f.hi = high;
        return f;
    }
    constexpr RecordField saturated() const { RecordField f = *this; f.saturate = true; return f; }
    constexpr RecordField agreeing() const { RecordField f = *this; f.agree = true; return f; }
    constexpr size_t file_bytes() const { return width_bytes(width) * count; }
};

// A member (scalar or array of scalars, or a char array for CHARS) at the given width.
template <auto M> constexpr auto field(FileWidth w, uint16_t chars = 0)
{
    using Owner = typename record_detail::member_of<decltype(M)>::owner;
    using V = typename record_detail::member_of<decltype(M)>::type;
    RecordField<Owner> f;
    f.width = w;
    if constexpr (std::is_array_v<V>) {
        using E = std::remove_extent_t<V>;
        if constexpr (std::is_same_v<E, char>) {
            f.count = chars ? chars : static_cast<uint16_t>(std::extent_v<V>);
            f.text = [](Owner& o) -> char* { return o.*M; };
            f.ctext = [](const Owner& o) -> const char* { return o.*M; };
        } else {
            f.count = static_cast<uint16_t>(std::extent_v<V>);
            f.get = [](const Owner& o, int i) { return record_detail::to_value<E>((o.*M)[i]); };
            f.set = [](Owner& o, int i, int64_t v) { (o.*M)[i] = record_detail::from_value<E>(v); };
        }
    } else {
        f.get = [](const Owner& o, int) { return record_detail::to_value<V>(o.*M); };
        f.set = [](Owner& o, int, int64_t v) { o.*M = record_detail::from_value<V>(v); };
    }
    return f;
}

template <auto M> constexpr auto scenario(FileWidth w)
{
    auto f = field<M>(w);
    f.use = FieldUse::Scenario;
    return f;
}

// Bytes the file holds that no member stands for (pointer slots, spares): written 0.
template <class T> constexpr RecordField<T> pad(FileWidth w, uint16_t count = 1)
{
    RecordField<T> f;
    f.width = w;
    f.count = count;
    f.use = FieldUse::Pad;
    return f;
}

// Bytes of the record in the newest files.
template <class T, size_t N> constexpr size_t file_size(const RecordField<T> (&table)[N])
{
    size_t n = 0;
    for (const auto& f : table)
        n += f.file_bytes();
    return n;
}

// Bytes of the record in files the gate describes (a count's lower bound on one element).
template <class T, size_t N, class Gate> size_t file_size(const RecordField<T> (&table)[N], Gate&& carries)
{
    size_t n = 0;
    for (const auto& f : table)
        if (!f.first || carries(std::string_view(f.first)))
            n += f.file_bytes();
    return n;
}

inline void write_value(RecordWriter& w, FileWidth width, int64_t v, bool saturate)
{
    if (saturate)
        v = v < width_min(width) ? width_min(width) : v > width_max(width) ? width_max(width) : v;
    switch (width) {
    case FileWidth::U8:
    case FileWidth::I8:
    case FileWidth::CHARS:
        w.u8(static_cast<uint8_t>(v));
        break;
    case FileWidth::U16:
    case FileWidth::I16:
        w.u16(static_cast<uint16_t>(v));
        break;
    default:
        w.u32(static_cast<uint32_t>(v));
        break;
    }
}

inline int64_t read_value(RecordReader& r, FileWidth width)
{
    switch (width) {
    case FileWidth::U8: return r.u8();
    case FileWidth::I8: return r.i8();
    case FileWidth::U16: return r.u16();
    case FileWidth::I16: return r.i16();
    case FileWidth::I32: return r.i32();
    default: return r.u32();
    }
}

// Writes the fields a file of the gate's version carries (every field when
// the gate answers yes to all): the layout read_fields reads with that gate.
template <class T, size_t N, class Gate>
void write_fields(RecordWriter& w, const T& o, const RecordField<T> (&table)[N], Gate&& carries)
{
    for (const auto& f : table) {
        if (f.first && !carries(std::string_view(f.first)))
            continue;
        if (f.width == FileWidth::CHARS) {
            if (f.use == FieldUse::Pad)
                w.zeros(f.count);
            else
                w.raw(f.ctext(o), f.count);
            continue;
        }
        for (int i = 0; i < f.count; ++i)
            write_value(w, f.width, f.use == FieldUse::Pad ? 0 : f.get(o, i), f.saturate);
    }
}

template <class T, size_t N> void write_fields(RecordWriter& w, const T& o, const RecordField<T> (&table)[N])
{
    write_fields(w, o, table, [](std::string_view) { return true; });
}

// Reads the fields the file carries into `o` (absent ones take their value or
// keep the member's), refusing the reader on any value out of its bounds. The
// caller checks r.failed() once: members may be half-filled after a refusal.
template <class T, size_t N, class Gate>
void read_fields(RecordReader& r, T& o, const RecordField<T> (&table)[N], Gate&& carries)
{
    for (const auto& f : table) {
        if (f.first && !carries(std::string_view(f.first))) {
            if (!f.keep_when_absent && f.use == FieldUse::Loaded)
                for (int i = 0; i < f.count; ++i)
                    f.set(o, i, f.when_absent);
            continue;
        }
        if (f.width == FileWidth::CHARS) {
            if (f.use == FieldUse::Loaded) {
                char* t = f.text(o);
                r.raw(t, f.count);
                t[f.count - 1] = 0;
            } else {
                r.skip(f.count);
            }
            continue;
        }
        for (int i = 0; i < f.count; ++i) {
            const int64_t v = read_value(r, f.width);
            if (f.use == FieldUse::Pad)
                continue;
            if (f.width != FileWidth::F32 && (v < f.lo || v > f.hi))
                r.refuse();
            if (f.agree && v != f.get(o, i))
                r.refuse();
            if (f.use == FieldUse::Loaded)
                f.set(o, i, v);
        }
    }
}

template <class T, size_t N> void read_fields(RecordReader& r, T& o, const RecordField<T> (&table)[N])
{
    read_fields(r, o, table, [](std::string_view) { return true; });
}

// Whether every described member of `o` lies within its bounds: the same
// check a load makes, for records built in memory.
template <class T, size_t N> bool fields_within(const T& o, const RecordField<T> (&table)[N])
{
    for (const auto& f : table) {
        if (f.use != FieldUse::Loaded || !f.get || f.width == FileWidth::F32)
            continue;
        for (int i = 0; i < f.count; ++i) {
            const int64_t v = f.get(o, i);
            if (v < f.lo || v > f.hi)
                return false;
        }
    }
    return true;
}
