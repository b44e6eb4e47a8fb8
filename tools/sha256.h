// SHA-256 of byte strings, for the state-file hash the benchmark prints.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

class Sha256 {
public:
    Sha256();
    void update(const void* data, size_t size);
    void update(const std::string& text) { update(text.data(), text.size()); }
    std::array<uint8_t, 32> finish();
    static std::string hex(const std::array<uint8_t, 32>& digest);

private:
    void block(const uint8_t* p);
    std::array<uint32_t, 8> h_;
    std::array<uint8_t, 64> buffer_{};
    size_t used_ = 0;
    uint64_t length_ = 0;
};
