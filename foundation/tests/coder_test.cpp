#include "foundation/coder.h"
#include "support/support.h"
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

TEST(Coder, FixedPointsAndHighLetters)
{
    for (unsigned char b : {0x00, 0x0A, 0x0D, 0x1A, 0x5B, 0x5D, 0x5E}) {  // NUL LF CR ^Z [ ] ^
        SCOPED_TRACE(static_cast<int>(b));
        EXPECT_EQ(code_byte(b), b);
    }
    for (int b = 0; b < 256; ++b) {
        SCOPED_TRACE(b);
        const bool alnum = (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
        if (alnum) {
            EXPECT_GE(code_byte(static_cast<unsigned char>(b)), 0x80);
        }
        if (b != 0) {
            EXPECT_NE(code_byte(static_cast<unsigned char>(b)), 0);
        }
        EXPECT_EQ(uncode_byte(code_byte(static_cast<unsigned char>(b))), b);
    }
}

TEST(Coder, EveryByteRoundTrips)
{
    std::string text;
    for (int b = 1; b < 256; ++b)
        text += static_cast<char>(b);
    std::string coded = text;
    code_string(coded.data());
    EXPECT_EQ(coded.size(), 255u);
    EXPECT_NE(coded, text);
    uncode_string(coded.data());
    EXPECT_EQ(coded, text);
    std::string s = "Font=Arial=";
    code_string(s);
    uncode_bytes(s.data(), 4);
    EXPECT_EQ(s.substr(0, 4), "Font");
}

TEST(Coder, WhichFilesCountAsCoded)
{
    ScratchDir dir;
    struct Case {
        std::string bytes;
        bool coded;
        const char* why;
    };
    const Case cases[] = {
        {"Plain text, digits 123 and (punctuation) up to z\nmore{\n", false, "ASCII up to z"},
        {"brace { here\n", true, "a brace"},
        {"caf\xe9\n", true, "a byte of 128 or more"},
        {"\nsecond line {\n", false, "empty first line"},
        {"Plain line\r\nnext\r\n", false, "CR LF line end"},
        {"", false, "empty file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        write_file(dir.file("f.txt"), c.bytes);
        EXPECT_EQ(is_coded_file(dir.file("f.txt").c_str()) != 0, c.coded);
    }
    EXPECT_FALSE(is_coded_file(dir.file("missing.txt").c_str()));
}

TEST(Coder, WholeFileInADottedFolderRoundTrips)
{
    ScratchDir dir;
    std::filesystem::create_directories(dir.file("a.b"));
    const std::string path = dir.file("a.b/x.txt");
    const std::string plain = "[SECTION]\r\n^item one^2^@\n$\n";
    write_file(path, plain);
    BoxCapture boxes;
    ASSERT_TRUE(code_file(path.c_str(), 1));
    const std::string coded = read_file(path);
    EXPECT_EQ(coded.size(), plain.size());
    EXPECT_NE(coded, plain);
    EXPECT_TRUE(is_coded_file(path.c_str()));
    EXPECT_FALSE(std::filesystem::exists(dir.file("a.tmp")));
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
    ASSERT_TRUE(uncode_file(path.c_str(), 0));
    EXPECT_EQ(read_file(path), plain);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].caption, "File Coding");
    EXPECT_EQ(boxes.boxes()[0].text, "File coded succesfully into: " + path);
}

TEST(Coder, FailureLeavesTheInputAlone)
{
    ScratchDir dir;
    BoxCapture boxes;
    EXPECT_FALSE(code_file(dir.file("missing.txt").c_str(), 1));
    // A folder where the temporary file should go: the write fails.
    write_file(dir.file("in.txt"), "keep me\n");
    std::filesystem::create_directories(dir.file("in.txt.tmp"));
    EXPECT_FALSE(code_file(dir.file("in.txt").c_str(), 1));
    EXPECT_EQ(read_file(dir.file("in.txt")), "keep me\n");
    ASSERT_EQ(boxes.boxes().size(), 2u);
    EXPECT_EQ(boxes.boxes()[0].text, "Unable to open input file");
    EXPECT_EQ(boxes.boxes()[1].caption, "File Coding");
}

// Files coded by any earlier build stay readable: the table is pinned by a coded
// fixture in the repository, byte i of it being the code of byte i.
TEST(Coder, TableIsThePinnedOne)
{
    const std::string pinned = read_file(test_data("coder/every_byte.coded"));
    ASSERT_EQ(pinned.size(), 256u);
    std::string plain;
    for (int b = 0; b < 256; ++b)
        plain += static_cast<char>(b);
    for (int b = 0; b < 256; ++b) {
        SCOPED_TRACE(b);
        EXPECT_EQ(code_byte(static_cast<unsigned char>(b)), static_cast<unsigned char>(pinned[static_cast<size_t>(b)]));
        EXPECT_EQ(uncode_byte(static_cast<unsigned char>(pinned[static_cast<size_t>(b)])), b);
    }
    // The same through the string coder, which a file passes through.
    std::string coded = plain.substr(1);
    code_string(coded.data());
    EXPECT_EQ(coded, pinned.substr(1));
    uncode_string(coded.data());
    EXPECT_EQ(coded, plain.substr(1));
}
