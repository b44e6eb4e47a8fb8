// A scratch folder per test, removed afterwards.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

class ScratchDir : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string tmpl = (std::filesystem::temp_directory_path() / "platk-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        dir = tmpl;
    }
    void TearDown() override
    {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }

    std::string at(const std::string& rel) const { return dir + "/" + rel; }

    void put(const std::string& rel, const std::string& bytes) const
    {
        const std::filesystem::path p = at(rel);
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << bytes;
    }

    std::string get(const std::string& rel) const
    {
        std::ifstream in(at(rel), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    bool exists(const std::string& rel) const { return std::filesystem::exists(at(rel)); }

    std::string dir;
};
