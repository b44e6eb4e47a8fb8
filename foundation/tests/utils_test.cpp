#include "foundation/utils.h"
#include "support/support.h"
#include <clocale>
#include <cstdlib>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <limits>
#include <string>

TEST(Fields, SeparatedTexts)
{
    std::string out = "junk";
    EXPECT_EQ(get_separated_field("a,,c", 2, out, ','), 1);
    EXPECT_EQ(out, "");
    EXPECT_EQ(get_separated_field("a,,c", 3, out, ','), 1);
    EXPECT_EQ(out, "c");
    EXPECT_EQ(get_separated_field("a,,c", 4, out, ','), 0);
    EXPECT_EQ(out, "");
    EXPECT_EQ(count_fields("x", ','), 1);
    EXPECT_EQ(count_fields("", ','), 0);
    EXPECT_EQ(count_fields("a;b;", ';'), 3);
    EXPECT_EQ(field_position("ab,cd", 2, ','), 3);
    EXPECT_EQ(field_position("ab,cd", 3, ','), -1);
    EXPECT_EQ(field_position("", 1, ','), -1);
    std::string t = "a,b,c";
    replace_field(t, 2, "XY", ',');
    EXPECT_EQ(t, "a,XY,c");
    replace_field(t, 3, "Z", ',');
    EXPECT_EQ(t, "a,XY,Z");
    EXPECT_EQ(remove_char("a-b-c", '-'), "abc");
    std::string b = " a b  ";
    trim_trailing_blanks(b);
    EXPECT_EQ(b, " a b");
    remove_blanks(b);
    EXPECT_EQ(b, "ab");
}

TEST(Numbers, ValidateNumber)
{
    struct Case {
        const char* text;
        double lo, hi;
        int want;
    };
    const Case cases[] = {
        {"12.5", 0, 10, 2}, {"1e5", -1, -1, 1}, {"-3", -1, -1, 0}, {"5", 0, 10, 0},  {"", -1, -1, 3},
        {"1.2.3", -1, -1, 1}, {"-", -1, -1, 1}, {"+", -1, -1, 1},  {".", -1, -1, 1}, {"+.", -1, -1, 1},
        {"-0.5", -1, 0, 0},  {"-0.5", 0, -1, 2}, {"abc", -1, -1, 1}, {"7 ", -1, -1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(validate_number(c.text, c.lo, c.hi), c.want);
    }
}

TEST(Numbers, DecimalDigitsAndPowers)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(decimal_digits(999), 3);
    EXPECT_EQ(decimal_digits(1000), 4);
    EXPECT_EQ(decimal_digits(-1000), 4);
    EXPECT_EQ(decimal_digits(0.05), -2);
    EXPECT_EQ(decimal_digits(0), 1);
    EXPECT_EQ(decimal_digits(nan), 1);
    EXPECT_EQ(decimal_digits(inf), 1);
    EXPECT_EQ(int_power_of_ten(0), 1);
    EXPECT_EQ(int_power_of_ten(-2), 1);
    EXPECT_EQ(int_power_of_ten(3), 1000);
    EXPECT_EQ(int_power_of_ten(9), 1000000000);
    EXPECT_EQ(int_power_of_ten(10), INT32_MAX);
    EXPECT_EQ(shift_decimal(1234.0, 2), 12.34);
    EXPECT_EQ(shift_decimal(1.5, -2), 150.0);
    EXPECT_EQ(is_whole_number(3.0), 1);
    EXPECT_EQ(is_whole_number(3.5), 0);
}

TEST(Numbers, FixedAndExponentTexts)
{
    EXPECT_EQ(format_fixed(3.14159, 2), "3.14");
    EXPECT_EQ(format_fixed(0.001234, 4), "0.0012");
    EXPECT_EQ(format_fixed(-12.5, 1), "-12.5");
    EXPECT_EQ(format_fixed(42.0, 0), "42");
    EXPECT_EQ(format_fixed(std::nan(""), 2), "?");
    struct Case {
        double v;
        const char* want;
    };
    for (Case c : {Case{1234567, "0.1234567e+7"}, Case{100000, "1e+5"}, Case{0.000005, "0.5e-5"}, Case{0.05, "0.05"},
                   Case{-200000, "-200000"}, Case{0, "0"}, Case{12.5, "12.5"},
                   Case{std::numeric_limits<double>::infinity(), "?"}}) {
        SCOPED_TRACE(c.want);
        EXPECT_EQ(format_exponent(c.v), c.want);
    }
    EXPECT_DOUBLE_EQ(parse_exponent("0.5e-5"), 0.000005);
    EXPECT_DOUBLE_EQ(parse_exponent("1.25E+3"), 1250.0);
    EXPECT_DOUBLE_EQ(parse_exponent("42"), 42.0);
}

TEST(Numbers, NiceSteps)
{
    struct Case {
        double x, range, want;
    };
    for (Case c : {Case{250, 0, 300}, Case{200, 0, 300}, Case{100, 0, 100}, Case{0.05, 0, 0.01}, Case{0.5, 0, 0.1},
                   Case{0, 10, 0}, Case{100, 5000, 1000}, Case{std::nan(""), 10, 0}}) {
        SCOPED_TRACE(c.x);
        EXPECT_DOUBLE_EQ(nice_step(c.x, c.range), c.want);
    }
}

TEST(Numbers, TextIsReadAndWrittenInTheCLocale)
{
    struct Restore {
        std::string saved;
        const char* locpath = std::getenv("LOCPATH");
        std::string old_locpath = locpath ? locpath : "";
        bool had_locpath = locpath != nullptr;
        ~Restore()
        {
            if (had_locpath)
                setenv("LOCPATH", old_locpath.c_str(), 1);
            else
                unsetenv("LOCPATH");
            std::setlocale(LC_ALL, saved.c_str());
        }
    } restore{std::setlocale(LC_ALL, nullptr) != nullptr ? std::setlocale(LC_ALL, nullptr) : "C"};
    // The build's own copy, when the machine has none installed.
    const std::string built = std::string(VORN_BINARY_DIR) + "/test-home/locale";
    if (std::filesystem::exists(built))
        setenv("LOCPATH", built.c_str(), 1);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr)
        GTEST_SKIP() << "no German locale here";
    ASSERT_EQ(std::string(std::localeconv()->decimal_point), ",");
    EXPECT_EQ(parse_double("1.5"), 1.5);
    EXPECT_EQ(format_c("%0.2f", 1.5), "1.50");
    EXPECT_EQ(format_fixed(2.25, 1), "2.2");
    EXPECT_EQ(validate_number("1.5", 0, 2), 0);
}

TEST(Files, ChunkedCopyOfEverySize)
{
    ScratchDir dir;
    for (size_t size : {0u, 9999u, 10000u, 25000u}) {
        SCOPED_TRACE(size);
        std::string bytes(size, '\0');
        for (size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<char>(i * 7 + 3);
        write_file(dir.file("src"), bytes);
        EXPECT_TRUE(copy_file_chunked(dir.file("src").c_str(), dir.file("dst").c_str()));
        EXPECT_EQ(read_file(dir.file("dst")), bytes);
        EXPECT_TRUE(copy_file(dir.file("src").c_str(), dir.file("dst2").c_str()));
        EXPECT_EQ(read_file(dir.file("dst2")), bytes);
    }
    EXPECT_FALSE(copy_file_chunked(dir.file("missing").c_str(), dir.file("dst").c_str()));
    EXPECT_FALSE(copy_file_chunked(dir.file("src").c_str(), dir.file("no/such/dst").c_str()));
    EXPECT_EQ(file_size(dir.file("src").c_str()), 25000);
    EXPECT_EQ(file_size(dir.file("missing").c_str()), -1);
}

TEST(Files, ExistenceAndFolders)
{
    ScratchDir dir;
    write_file(dir.file("here.txt"), "x");
    BoxCapture boxes;
    EXPECT_TRUE(file_exists(dir.file("here.txt").c_str(), 1));
    EXPECT_FALSE(file_exists(dir.file("gone.txt").c_str(), 0));
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_FALSE(file_exists("gone.txt", 1));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].caption, "File not exist");
    EXPECT_EQ(boxes.boxes()[0].text, "File gone.txt not exist");
    EXPECT_TRUE(is_directory(dir.path().c_str()));
    EXPECT_FALSE(is_directory(dir.file("here.txt").c_str()));
    // A working folder deeper than 200 characters is no obstacle.
    std::string deep = dir.path();
    while (deep.size() < 300)
        deep += "/folder_of_some_length";
    std::filesystem::create_directories(deep);
    EXPECT_TRUE(is_directory(deep.c_str()));
}

TEST(Paths, DottedFoldersCutInTheLastComponent)
{
    EXPECT_EQ(base_name_buffer("runs.v2/game.session.vnb"), "runs.v2/game");
    EXPECT_EQ(base_name_buffer("C:\\runs.v2\\game"), "C:\\runs.v2\\game");
    EXPECT_EQ(extension_of("runs.v2/game"), "");
    EXPECT_EQ(extension_of("runs.v2\\game.vnb"), "vnb");
    std::string s = "runs.v2/game";
    strip_extension(s);
    EXPECT_EQ(s, "runs.v2/game");
    s = "a/b.tar.gz";
    strip_extension(s);
    EXPECT_EQ(s, "a/b.tar");
    EXPECT_EQ(folder_of("C:\\vorn\\data\\x.dat"), "C:\\vorn\\data");
    EXPECT_EQ(file_name_of("C:\\vorn\\data\\x.dat"), "x.dat");
    EXPECT_EQ(file_name_of("plain.dat"), "plain.dat");
    std::string p = "a/b/c.txt";
    cut_file_name(p);
    EXPECT_EQ(p, "a/b");
}
