// Test helpers of the foundation: boxes shown, scratch folders, files.
#pragma once
#include <memory>
#include <string>
#include <vector>

struct ShownBox {
    std::string caption;
    std::string text;
};

// Records the boxes (answered OK) and beeps while it lives.
class BoxCapture {
public:
    BoxCapture();
    ~BoxCapture();
    std::vector<ShownBox> boxes() const;
    int beeps() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// A fresh folder under the build tree, removed afterwards.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

void write_file(const std::string& path, const std::string& bytes);
std::string read_file(const std::string& path);
std::string test_data(const std::string& name);
