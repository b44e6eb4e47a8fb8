// BinFile: little-endian fields over one stdio stream, a sticky error flag,
// a safe replace on Create and an in-process deny table.
#include "foundation/binfile.h"
#include "foundation/file_steps.h"
#include "host_p.h"
#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Paths held open by a BinFile: another Create or Open of them is refused,
// as the deny-read-write opens of the state files are.
std::set<std::string>& open_paths()
{
    static std::set<std::string> paths;
    return paths;
}

std::string key_of(const std::string& resolved)
{
    std::error_code ec;
    const std::filesystem::path p = std::filesystem::absolute(resolved, ec);
    return ec ? resolved : p.lexically_normal().string();
}

template <class U>
void put_le(std::vector<uint8_t>& out, U v)
{
    for (size_t i = 0; i < sizeof(U); ++i)
        out.push_back(static_cast<uint8_t>((v >> (8 * i)) & 0xFF));
}

template <class U>
U get_le(const uint8_t* p)
{
    U v = 0;
    for (size_t i = 0; i < sizeof(U); ++i)
        v = static_cast<U>(v | (static_cast<U>(p[i]) << (8 * i)));
    return v;
}

} // namespace

void RecordWriter::i16(int16_t v) { put_le(bytes_, static_cast<uint16_t>(v)); }
void RecordWriter::i32(int32_t v) { put_le(bytes_, static_cast<uint32_t>(v)); }

void RecordWriter::f32(float v)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    put_le(bytes_, bits);
}

void RecordWriter::f64(double v)
{
    uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    put_le(bytes_, bits);
}

void RecordWriter::chars(const char* text, int n)
{
    bool ended = text == nullptr;
    for (int i = 0; i < n; ++i) {
        const char c = ended ? '\0' : text[i];
        if (c == '\0')
            ended = true;
        bytes_.push_back(static_cast<uint8_t>(c));
    }
}

void RecordWriter::zeros(int n)
{
    for (int i = 0; i < n; ++i)
        bytes_.push_back(0);
}

void RecordWriter::raw(const void* data, size_t n)
{
    const auto* p = static_cast<const uint8_t*>(data);
    bytes_.insert(bytes_.end(), p, p + n);
}

bool RecordReader::take(void* out, size_t n)
{
    if (failed_ || n > size_ - pos_) {
        failed_ = true;
        std::memset(out, 0, n);
        return false;
    }
    std::memcpy(out, data_ + pos_, n);
    pos_ += n;
    return true;
}

uint8_t RecordReader::u8()
{
    uint8_t b[1];
    take(b, 1);
    return b[0];
}

int16_t RecordReader::i16()
{
    uint8_t b[2];
    take(b, 2);
    return static_cast<int16_t>(get_le<uint16_t>(b));
}

int32_t RecordReader::i32()
{
    uint8_t b[4];
    take(b, 4);
    return static_cast<int32_t>(get_le<uint32_t>(b));
}

float RecordReader::f32()
{
    uint8_t b[4];
    take(b, 4);
    const uint32_t bits = get_le<uint32_t>(b);
    float v = 0;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

double RecordReader::f64()
{
    uint8_t b[8];
    take(b, 8);
    const uint64_t bits = get_le<uint64_t>(b);
    double v = 0;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

void RecordReader::chars(char* out, int n)
{
    if (n <= 0)
        return;
    take(out, static_cast<size_t>(n));
    out[n - 1] = '\0';
}

void RecordReader::skip(int n)
{
    if (n <= 0)
        return;
    if (failed_ || static_cast<size_t>(n) > size_ - pos_) {
        failed_ = true;
        return;
    }
    pos_ += static_cast<size_t>(n);
}

void put_date(RecordWriter& w, const SimDateTime& d)
{
    w.i16(d.year);
    w.i16(d.month);
    w.i16(d.day);
    w.i16(d.hour);
    w.i16(d.minute);
}

SimDateTime get_date(RecordReader& r)
{
    SimDateTime d{};
    d.year = r.i16();
    d.month = r.i16();
    d.day = r.i16();
    d.hour = r.i16();
    d.minute = r.i16();
    return d;
}

bool real_date(const SimDateTime& d)
{
    return d.year >= 0 && d.year <= 300 && d.month >= 1 && d.month <= 12 && d.day >= 1 &&
           d.day <= month_length(d.month, d.year) && d.hour >= 0 && d.hour <= 23 && d.minute >= 0 && d.minute <= 59;
}

namespace {
FileStepFault step_fault = nullptr;
constexpr uint32_t FNV_BASIS = 2166136261u;
constexpr uint32_t FNV_PRIME = 16777619u;
} // namespace

FileStepFault set_file_step_fault(FileStepFault fault)
{
    const FileStepFault before = step_fault;
    step_fault = fault;
    return before;
}

bool file_step_fails(FileStep step, const std::string& path) { return step_fault != nullptr && step_fault(step, path); }

bool rename_file(const std::string& from, const std::string& to)
{
    const std::string source = fhost::resolve(from.c_str());
    const std::string target = fhost::resolve(to.c_str());
    if (source.empty() || target.empty() || file_step_fails(FileStep::Rename, target) ||
        std::rename(source.c_str(), target.c_str()) != 0)
        return false;
    // The new entry is on the disk before the next file of a set is moved.
    const std::filesystem::path folder = std::filesystem::path(target).parent_path();
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

BinFile::BinFile() = default;

BinFile::~BinFile()
{
    if (file_ != nullptr)
        Close();
}

void BinFile::release()
{
    open_paths().erase(key_of(target_));
    file_ = nullptr;
}

plat::BOOL BinFile::Create(const char* path)
{
    if (file_ != nullptr)
        return plat::FALSE;
    const std::string target = fhost::resolve(path);
    if (target.empty() || open_paths().count(key_of(target)) != 0)
        return plat::FALSE;
    struct stat st {};
    direct_ = ::stat(target.c_str(), &st) == 0 && !S_ISREG(st.st_mode);
    temp_ = direct_ ? target : target + ".tmp";
    file_ = std::fopen(temp_.c_str(), "wb");
    if (file_ == nullptr)
        return plat::FALSE;
    target_ = target;
    writing_ = true;
    error_ = false;
    digest_ = FNV_BASIS;
    open_paths().insert(key_of(target_));
    return plat::TRUE;
}

plat::BOOL BinFile::Open(const char* path)
{
    if (file_ != nullptr)
        return plat::FALSE;
    const std::string target = fhost::resolve(path);
    if (target.empty() || open_paths().count(key_of(target)) != 0)
        return plat::FALSE;
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return plat::FALSE;
    file_ = std::fopen(target.c_str(), "rb");
    if (file_ == nullptr)
        return plat::FALSE;
    target_ = target;
    writing_ = false;
    direct_ = false;
    error_ = false;
    end_ = -1;
    open_paths().insert(key_of(target_));
    return plat::TRUE;
}

int BinFile::Close()
{
    if (file_ == nullptr)
        return -1;
    bool ok = !error_;
    // What is renamed into place must be on the disk first, or a crash can leave an empty target.
    if (writing_ && (file_step_fails(FileStep::Flush, target_) || std::fflush(file_) != 0 ||
                     file_step_fails(FileStep::Sync, target_) || ::fsync(::fileno(file_)) != 0))
        ok = false;
    if (std::fclose(file_) != 0 || (writing_ && file_step_fails(FileStep::Close, target_)))
        ok = false;
    if (writing_ && !direct_) {
        if (ok && (file_step_fails(FileStep::Rename, target_) || std::rename(temp_.c_str(), target_.c_str()) != 0))
            ok = false;
        if (!ok)
            std::remove(temp_.c_str());
    }
    release();
    error_ = !ok;
    return ok ? 0 : -1;
}

int32_t BinFile::Length()
{
    if (file_ == nullptr)
        return -1;
    if (writing_) {
        const long pos = std::ftell(file_);
        return pos < 0 ? -1 : static_cast<int32_t>(pos);
    }
    struct stat st {};
    if (::fstat(fileno(file_), &st) != 0)
        return -1;
    const int32_t size = st.st_size > INT32_MAX ? INT32_MAX : static_cast<int32_t>(st.st_size);
    return end_ >= 0 && end_ < size ? end_ : size;
}

bool BinFile::EndAt(int32_t offset)
{
    if (file_ == nullptr || writing_)
        return false;
    end_ = -1;
    if (offset < 0)
        return true;
    if (offset > Length())
        return false;
    end_ = offset;
    return true;
}

int32_t BinFile::Write(const void* buffer, int32_t n)
{
    if (file_ == nullptr || !writing_ || n < 0 || (buffer == nullptr && n > 0)) {
        error_ = true;
        return -1;
    }
    if (n > 0 && file_step_fails(FileStep::Write, target_)) {
        error_ = true;
        return -1;
    }
    const size_t done = std::fwrite(buffer, 1, static_cast<size_t>(n), file_);
    for (size_t i = 0; i < done; ++i)
        digest_ = (digest_ ^ static_cast<const uint8_t*>(buffer)[i]) * FNV_PRIME;
    if (done != static_cast<size_t>(n)) {
        error_ = true;
        return done == 0 && n > 0 ? -1 : static_cast<int32_t>(done);
    }
    return n;
}

int32_t BinFile::Read(void* buffer, int32_t n)
{
    if (file_ == nullptr || writing_ || n < 0 || (buffer == nullptr && n > 0)) {
        error_ = true;
        return -1;
    }
    int32_t allowed = n;
    if (end_ >= 0) {
        const long pos = std::ftell(file_);
        allowed = pos < 0 || pos >= end_ ? 0 : static_cast<int32_t>(std::min<long>(n, end_ - pos));
    }
    const size_t done = allowed == 0 ? 0 : std::fread(buffer, 1, static_cast<size_t>(allowed), file_);
    if (done != static_cast<size_t>(n)) {
        error_ = true;
        if (std::ferror(file_) != 0)
            return -1;
    }
    return static_cast<int32_t>(done);
}

int32_t BinFile::Tell()
{
    if (file_ == nullptr || writing_)
        return -1;
    const long pos = std::ftell(file_);
    return pos < 0 || pos > INT32_MAX ? -1 : static_cast<int32_t>(pos);
}

bool BinFile::SeekTo(int32_t offset)
{
    if (file_ == nullptr || writing_ || offset < 0 || offset > Length() ||
        std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) {
        error_ = true;
        return false;
    }
    return true;
}

void BinFile::WriteRecord(const RecordWriter& record)
{
    Write(record.bytes().data(), static_cast<int32_t>(record.bytes().size()));
}

void BinFile::WriteI16(int16_t v)
{
    RecordWriter w;
    w.i16(v);
    WriteRecord(w);
}

void BinFile::WriteI32(int32_t v)
{
    RecordWriter w;
    w.i32(v);
    WriteRecord(w);
}

void BinFile::WriteF32(float v)
{
    RecordWriter w;
    w.f32(v);
    WriteRecord(w);
}

void BinFile::WriteF64(double v)
{
    RecordWriter w;
    w.f64(v);
    WriteRecord(w);
}

void BinFile::WriteChars(const char* text, int n)
{
    RecordWriter w;
    w.chars(text, n);
    WriteRecord(w);
}

namespace {

template <size_t N>
bool read_exact(BinFile& f, uint8_t (&b)[N])
{
    if (f.Read(b, N) != static_cast<int32_t>(N)) {
        std::memset(b, 0, N);
        return false;
    }
    return true;
}

} // namespace

int16_t BinFile::ReadI16()
{
    uint8_t b[2];
    read_exact(*this, b);
    return RecordReader(b, 2).i16();
}

int32_t BinFile::ReadI32()
{
    uint8_t b[4];
    read_exact(*this, b);
    return RecordReader(b, 4).i32();
}

float BinFile::ReadF32()
{
    uint8_t b[4];
    read_exact(*this, b);
    return RecordReader(b, 4).f32();
}

double BinFile::ReadF64()
{
    uint8_t b[8];
    read_exact(*this, b);
    return RecordReader(b, 8).f64();
}

void BinFile::ReadChars(char* out, int n)
{
    if (out == nullptr || n <= 0)
        return;
    if (Read(out, n) != n)
        std::memset(out, 0, static_cast<size_t>(n));
    out[n - 1] = '\0';
}

bool BinFile::WriteList(const RList& list, int16_t s,
                        const std::function<void(RecordWriter&, const void*)>& encode)
{
    if (file_ == nullptr || !writing_ || s <= 0) {
        error_ = true;
        return false;
    }
    WriteI16(list.Count());
    for (int16_t i = 0; i < list.Count(); ++i) {
        const void* element = list.GetAt(i);
        RecordWriter w;
        if (element != nullptr)
            encode(w, element);
        if (element == nullptr || w.bytes().size() != static_cast<size_t>(s)) {
            error_ = true;
            return false;
        }
        WriteRecord(w);
    }
    return !error_;
}

bool BinFile::ReadList(RList& list, int16_t s, const std::function<void*(RecordReader&)>& make)
{
    list.Clear();
    if (file_ == nullptr || writing_ || s <= 0) {
        error_ = true;
        return false;
    }
    const int16_t count = ReadI16();
    if (error_)
        return false;
    const long pos = std::ftell(file_);
    const int32_t length = Length();
    const int64_t remaining = pos < 0 || length < 0 ? 0 : static_cast<int64_t>(length) - pos;
    if (count < 0 || static_cast<int64_t>(count) * s > remaining) {
        error_ = true;
        return false;
    }
    std::vector<uint8_t> record(static_cast<size_t>(s));
    for (int16_t i = 0; i < count; ++i) {
        if (Read(record.data(), s) != s) {
            error_ = true;
            break;
        }
        RecordReader r(record.data(), record.size());
        void* element = make(r);
        if (element != nullptr)
            list.Add(element);
        if (element == nullptr || r.failed() || list.Count() != i + 1) {
            error_ = true;
            break;
        }
    }
    if (error_) {
        list.Clear();
        return false;
    }
    return true;
}
