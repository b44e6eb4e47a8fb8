// Small scenario files for tests: the core sections with defaults that a
// test replaces or removes by name, written into a private folder.
#pragma once
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

class ScenarioBuilder {
public:
    ScenarioBuilder();
    // The section's text (everything after the "[name]" line); "" removes it.
    ScenarioBuilder& set(const std::string& name, const std::string& text);
    ScenarioBuilder& remove(const std::string& name);
    std::string text() const;
    // Writes the file; returns its path.
    std::string write(const std::filesystem::path& path) const;

private:
    std::vector<std::pair<std::string, std::string>> sections_;
};

// A fresh folder under the system's temporary folder, removed at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

std::vector<uint8_t> read_bytes(const std::string& path);
void write_bytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::string hex(const std::vector<uint8_t>& bytes, size_t from = 0, size_t count = std::string::npos);
