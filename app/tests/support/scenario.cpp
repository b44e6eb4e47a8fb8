// Test scenarios and folders.
#include "support/scenario.h"
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <unistd.h>

ScenarioBuilder::ScenarioBuilder()
{
    sections_ = {
        {"TIME", "^020195^1^1^0^@\n$\n"},
        {"STATUS", "^0^0^0^0^0^0^@\n$\n"},
        {"TIMER", "^3600^@\n$\n"},
        {"DEBUG", "^0^0^0^0^0^@\n$\n"},
        {"NEW_FEATURES", "^-1^0^-1^12345^-1^-1^@\n$\n"},
        {"FACTORS", "^never read: no end^\n$\n"},
    };
}

ScenarioBuilder& ScenarioBuilder::set(const std::string& name, const std::string& text)
{
    for (auto& s : sections_)
        if (s.first == name) {
            s.second = text;
            return *this;
        }
    sections_.emplace_back(name, text);
    return *this;
}

ScenarioBuilder& ScenarioBuilder::remove(const std::string& name)
{
    std::erase_if(sections_, [&](const auto& s) { return s.first == name; });
    return *this;
}

std::string ScenarioBuilder::text() const
{
    std::string out;
    for (const auto& [name, body] : sections_)
        out += "[" + name + "]\n" + body;
    out += "[END OF FILE]\n";
    return out;
}

std::string ScenarioBuilder::write(const std::filesystem::path& path) const
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text();
    return path.string();
}

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "vorn-app-XXXXXX").string();
    char* made = ::mkdtemp(pattern.data());
    path_ = made != nullptr ? std::filesystem::path(made) : std::filesystem::temp_directory_path();
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::vector<uint8_t> read_bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void write_bytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

std::string hex(const std::vector<uint8_t>& bytes, size_t from, size_t count)
{
    std::string out;
    for (size_t i = from; i < bytes.size() && i - from < count; ++i) {
        char b[3];
        std::snprintf(b, sizeof b, "%02x", bytes[i]);
        out += b;
    }
    return out;
}
