// The stream through which state files and policies files are written and read.
#pragma once
#include "foundation/rlist.h"
#include "foundation/simdate.h"
#include "plat/types.h"
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

// Little-endian record image of fixed width, built field by field.
class RecordWriter {
public:
    void i8(int8_t v) { u8(static_cast<uint8_t>(v)); }
    void u8(uint8_t v) { bytes_.push_back(v); }
    void i16(int16_t v);
    void u16(uint16_t v) { i16(static_cast<int16_t>(v)); }
    void i32(int32_t v);
    void u32(uint32_t v) { i32(static_cast<int32_t>(v)); }
    void f32(float v);
    void f64(double v);
    // n bytes of a fixed-size text field (the bytes after its NUL included).
    void chars(const char* text, int n);
    void zeros(int n);
    // n bytes exactly as held.
    void raw(const void* data, size_t n);
    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

// Reads fields from a record image; reading past its end sets failed() and
// gives zeros, so a decoder never runs off its buffer.
class RecordReader {
public:
    RecordReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    int8_t i8() { return static_cast<int8_t>(u8()); }
    uint8_t u8();
    int16_t i16();
    uint16_t u16() { return static_cast<uint16_t>(i16()); }
    int32_t i32();
    uint32_t u32() { return static_cast<uint32_t>(i32()); }
    float f32();
    double f64();
    // n bytes into a char array of n; the last byte is forced to NUL.
    void chars(char* out, int n);
    // n bytes exactly as stored (zeros once past the end).
    void raw(void* out, size_t n) { take(out, n); }
    void skip(int n);
    // The decoder refuses what it read: from here on the reader has failed.
    void refuse() { failed_ = true; }
    bool failed() const { return failed_; }
    size_t position() const { return pos_; }
    size_t remaining() const { return size_ - pos_; }

private:
    bool take(void* out, size_t n);
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    bool failed_ = false;
};

// A date on file: its five fields as int16, in their order (ten bytes).
void put_date(RecordWriter& w, const SimDateTime& d);
SimDateTime get_date(RecordReader& r);
// A date read from a state file that the calendar can hold: a real day of a
// real month, a time of day, and a year whose minutes since 1990 fit the
// engine's 32-bit minute counts.
bool real_date(const SimDateTime& d);

// A file stream. Any failed or short read or write sets a sticky error flag;
// Close reports it. A file written with Create replaces its target only when
// Close succeeds (written beside it, then renamed); other openers of the same
// path in this process are refused while it is open.
class BinFile {
public:
    BinFile();
    ~BinFile();
    BinFile(const BinFile&) = delete;
    BinFile& operator=(const BinFile&) = delete;

    plat::BOOL Create(const char* path);
    plat::BOOL Open(const char* path);
    // 0 when the file was written (or read) without any error, else -1.
    int Close();
    int32_t Length();
    // Bytes written, or -1.
    int32_t Write(const void* buffer, int32_t n);
    // Bytes read, 0 at the end of the file, or -1.
    int32_t Read(void* buffer, int32_t n);
    // Reading: the offset of the next byte (-1 when not reading), and a move
    // to an offset within the file, for a reader that took in more than its
    // record (false, and the error set, when not reading or out of range).
    int32_t Tell();
    bool SeekTo(int32_t offset);
    // Reading: the file taken to end at that offset (Length and Read stop
    // there) for a reader that takes the whole file when what follows is
    // another's; -1 restores the file's own end. False when not reading or
    // past the end.
    bool EndAt(int32_t offset);

    // Fields, little-endian. The readers give 0 when the file is short.
    void WriteI16(int16_t v);
    void WriteI32(int32_t v);
    void WriteF32(float v);
    void WriteF64(double v);
    void WriteChars(const char* text, int n);
    void WriteRecord(const RecordWriter& record);
    int16_t ReadI16();
    int32_t ReadI32();
    float ReadF32();
    double ReadF64();
    void ReadChars(char* out, int n);

    // The list as an int16 count and one s-byte record per element. The
    // encoder must put exactly s bytes. False on any error.
    bool WriteList(const RList& list, int16_t s,
                   const std::function<void(RecordWriter&, const void*)>& encode);
    // Releases the list's elements, reads the count (refused unless
    // 0 <= count <= remaining bytes / s) and appends one element per record,
    // made by `make` (a std::malloc block for a plain RList). On any error
    // the list is left empty and false returned.
    bool ReadList(RList& list, int16_t s,
                  const std::function<void*(RecordReader&)>& make);

    template <class T, class Enc>
    bool WriteList(const RTypedList<T>& list, int16_t s, Enc encode)
    {
        return WriteList(static_cast<const RList&>(list), s,
                         [&](RecordWriter& w, const void* e) { encode(w, *static_cast<const T*>(e)); });
    }
    // `decode(RecordReader&, T&)` fills a value-initialised T.
    template <class T, class Dec>
    bool ReadList(RTypedList<T>& list, int16_t s, Dec decode)
    {
        return ReadList(static_cast<RList&>(list), s, [&](RecordReader& r) -> void* {
            T* e = new T{};
            decode(r, *e);
            return e;
        });
    }

    bool Failed() const { return error_; }
    bool IsOpen() const { return file_ != nullptr; }
    // A 32-bit FNV-1a digest of the bytes written since Create, by which the
    // files of one save are told from those of another.
    uint32_t WrittenDigest() const { return digest_; }

private:
    void release();
    std::FILE* file_ = nullptr;
    bool writing_ = false;
    bool error_ = false;
    bool direct_ = false;      // written in place (a device such as /dev/full)
    std::string target_;       // the path as resolved
    std::string temp_;         // the file being written, renamed at Close
    uint32_t digest_ = 0;
    int32_t end_ = -1;         // reading: where the file is taken to end (-1 its own end)
};
