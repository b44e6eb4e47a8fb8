// Text-mode streams: CR LF on disk, LF in the program, raw offsets.
#include "kernel_fixture.h"
#include "plat/crt.h"
#include <string>

using namespace plat;

namespace {

class TextFiles : public ScratchDir {
protected:
    std::string read_all(const char* mode, bool byChar)
    {
        FILE* f = crt_fopen(at("f").c_str(), mode);
        EXPECT_NE(f, nullptr);
        if (!f)
            return {};
        std::string out;
        if (byChar) {
            for (int c; (c = std::fgetc(f)) != EOF;)
                out.push_back(static_cast<char>(c));
        } else {
            char buf[8192];
            for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;)
                out.append(buf, n);
        }
        std::fclose(f);
        return out;
    }

    void write_all(const char* mode, const std::string& data)
    {
        FILE* f = crt_fopen(at("f").c_str(), mode);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(std::fwrite(data.data(), 1, data.size(), f), data.size());
        EXPECT_EQ(std::fclose(f), 0);
    }
};

} // namespace

TEST_F(TextFiles, ReadTranslation)
{
    struct Case {
        std::string disk, text;
        const char* why;
    };
    const std::string xs(4094, 'x');
    const Case cases[] = {
        {"a\r\nb\r\n", "a\nb\n", "CR LF becomes LF"},
        {"a\rb\r", "a\rb\r", "a lone CR stays, also at the end"},
        {"a\r\r\nb", "a\r\nb", "CR before CR LF"},
        {"a\nb", "a\nb", "a bare LF stays"},
        {"ab\x1A\r\ncd", "ab", "Ctrl-Z ends the text"},
        {"\x1A", "", "Ctrl-Z first"},
        {"\r\n" + xs + "\r\nend", "\n" + xs + "\nend", "CR LF split over two reads"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        put("f", c.disk);
        EXPECT_EQ(read_all("r", false), c.text);
        EXPECT_EQ(read_all("rt", true), c.text);
        EXPECT_EQ(read_all("rb", false), c.disk) << "binary mode reads the bytes";
    }
}

TEST_F(TextFiles, WriteTranslation)
{
    write_all("w", "one\ntwo\r\n\n");
    EXPECT_EQ(get("f"), "one\r\ntwo\r\r\n\r\n");
    write_all("a", "three\n");
    EXPECT_EQ(get("f"), "one\r\ntwo\r\r\n\r\nthree\r\n");
    write_all("wb", "raw\n");
    EXPECT_EQ(get("f"), "raw\n");
    write_all("ab", "x\n");
    EXPECT_EQ(get("f"), "raw\nx\n");
}

TEST_F(TextFiles, RecordsRoundTripWithRawOffsets)
{
    // Records as the tutorial link writes them; each carries a byte that
    // text mode changes.
    const std::string records[] = {"id=1 \n tail", "cr lf \r\n inside", "ctrl-z \x1A after", "plain"};
    long offsets[4];
    {
        FILE* f = crt_fopen(at("f").c_str(), "w");
        ASSERT_NE(f, nullptr);
        for (int i = 0; i < 4; ++i) {
            offsets[i] = std::ftell(f);
            std::fputs(records[i].c_str(), f);
            std::fputc('\n', f);
        }
        std::fclose(f);
    }
    // Raw offsets: "id=1 \r\n tail\r\n" is 14 bytes, "cr lf \r\r\n inside\r\n"
    // 18, "ctrl-z \x1A after\r\n" 16.
    EXPECT_EQ(offsets[0], 0);
    EXPECT_EQ(offsets[1], 14);
    EXPECT_EQ(offsets[2], 32);
    EXPECT_EQ(offsets[3], 48);
    EXPECT_EQ(get("f").size(), 55u);

    FILE* f = crt_fopen(at("f").c_str(), "r");
    ASSERT_NE(f, nullptr);
    char line[64];
    // Read back by seeking to each raw offset, last first.
    ASSERT_EQ(std::fseek(f, offsets[3], SEEK_SET), 0);
    ASSERT_NE(std::fgets(line, sizeof line, f), nullptr);
    EXPECT_STREQ(line, "plain\n");
    EXPECT_EQ(std::ftell(f), 55);

    ASSERT_EQ(std::fseek(f, offsets[1], SEEK_SET), 0);
    ASSERT_NE(std::fgets(line, sizeof line, f), nullptr);
    EXPECT_STREQ(line, "cr lf \r\n");
    EXPECT_EQ(std::ftell(f), 23) << "raw offset after \"cr lf \\r\\r\\n\"";
    ASSERT_NE(std::fgets(line, sizeof line, f), nullptr);
    EXPECT_STREQ(line, " inside\n");
    EXPECT_EQ(std::ftell(f), offsets[2]);

    ASSERT_EQ(std::fseek(f, 0, SEEK_SET), 0);
    ASSERT_NE(std::fgets(line, sizeof line, f), nullptr);
    EXPECT_STREQ(line, "id=1 \n");
    EXPECT_EQ(std::ftell(f), 7);

    // The Ctrl-Z record ends the text, as it does for the original runtime.
    ASSERT_EQ(std::fseek(f, offsets[2], SEEK_SET), 0);
    ASSERT_NE(std::fgets(line, sizeof line, f), nullptr);
    EXPECT_STREQ(line, "ctrl-z ");
    EXPECT_EQ(std::fgets(line, sizeof line, f), nullptr);
    EXPECT_TRUE(std::feof(f));
    std::fclose(f);
}

TEST_F(TextFiles, IndexMeasuredInBinaryIsReadInText)
{
    put("f", "[A]\r\nx=1\r\n[B]\r\ny=2\r\n");
    FILE* b = crt_fopen(at("F").c_str(), "rb");
    ASSERT_NE(b, nullptr);
    char line[32];
    std::fgets(line, sizeof line, b);
    std::fgets(line, sizeof line, b);
    const long sectionB = std::ftell(b);
    std::fclose(b);
    EXPECT_EQ(sectionB, 10);

    FILE* t = crt_fopen(at("F").c_str(), "r");
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(std::fseek(t, sectionB, SEEK_SET), 0);
    ASSERT_NE(std::fgets(line, sizeof line, t), nullptr);
    EXPECT_STREQ(line, "[B]\n");
    ASSERT_EQ(std::fseek(t, -5, SEEK_END), 0);
    ASSERT_NE(std::fgets(line, sizeof line, t), nullptr);
    EXPECT_STREQ(line, "y=2\n");
    std::fclose(t);
}

TEST_F(TextFiles, UpdateModeWritesWhereItRead)
{
    put("f", "aaa\r\nbbb\r\n");
    FILE* f = crt_fopen(at("f").c_str(), "r+");
    ASSERT_NE(f, nullptr);
    char line[16];
    ASSERT_NE(std::fgets(line, sizeof line, f), nullptr);
    ASSERT_EQ(std::fseek(f, 0, SEEK_CUR), 0);
    std::fputs("B\n", f);
    std::fclose(f);
    EXPECT_EQ(get("f"), "aaa\r\nB\r\n\r\n");
}

TEST_F(TextFiles, BadModesAndMissingFiles)
{
    for (const char* mode : {"", "x", "rz", "+r"}) {
        SCOPED_TRACE(mode);
        errno = 0;
        EXPECT_EQ(crt_fopen(at("f").c_str(), mode), nullptr);
        EXPECT_EQ(errno, EINVAL);
    }
    errno = 0;
    EXPECT_EQ(crt_fopen(at("missing").c_str(), "r"), nullptr);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(crt_fopen("C:\\VORN.LRN", "r"), nullptr);
}

TEST_F(TextFiles, DescriptorsAreTextUnlessBinary)
{
    struct Case {
        std::string disk;
        unsigned first;
        std::string firstText, rest;
        const char* why;
    };
    const Case cases[] = {
        {"a\r\nb\rc\x1A" "d", 100, "a\nb\rc", "", "CR LF, lone CR, Ctrl-Z"},
        {"ab\r\ncd", 3, "ab\n", "cd", "CR LF split by the count"},
        {"ab\rcd", 3, "ab\r", "cd", "a lone CR at the end of the count"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        put("f", c.disk);
        const int fd = crt_sopen(at("F").c_str(), _O_RDONLY, _SH_DENYNO);
        ASSERT_GE(fd, 0);
        char buf[128];
        const int n = crt_read(fd, buf, c.first);
        ASSERT_GE(n, 0);
        EXPECT_EQ(std::string(buf, static_cast<size_t>(n)), c.firstText);
        const int m = crt_read(fd, buf, sizeof buf);
        ASSERT_GE(m, 0);
        EXPECT_EQ(std::string(buf, static_cast<size_t>(m)), c.rest);
        EXPECT_EQ(crt_read(fd, buf, sizeof buf), 0);
        crt_close(fd);

        const int bin = crt_sopen(at("f").c_str(), _O_RDONLY | _O_BINARY, _SH_DENYNO);
        ASSERT_GE(bin, 0);
        EXPECT_EQ(crt_read(bin, buf, sizeof buf), static_cast<int>(c.disk.size()));
        crt_close(bin);
    }

    const int out = crt_sopen(at("g").c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC, _SH_DENYRW);
    ASSERT_GE(out, 0);
    EXPECT_EQ(crt_write(out, "x\ny\n", 4), 4);
    EXPECT_EQ(crt_lseek(out, 0, SEEK_CUR), 6) << "raw offset";
    crt_close(out);
    EXPECT_EQ(get("g"), "x\r\ny\r\n");
}
