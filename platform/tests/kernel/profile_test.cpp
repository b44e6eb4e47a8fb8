// Profile files: values read as the original reads them, edits that keep
// the rest of the file.
#include "kernel_fixture.h"
#include "plat/config.h"
#include "plat/profile.h"
#include <cstring>

using namespace plat;

namespace {

class Profiles : public ScratchDir {
protected:
    void SetUp() override
    {
        ScratchDir::SetUp();
        const char* old = std::getenv("XDG_CONFIG_HOME");
        saved = old ? old : "";
        ::setenv("XDG_CONFIG_HOME", at("config").c_str(), 1);
    }
    void TearDown() override
    {
        ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
        ScratchDir::TearDown();
    }
    std::string ini() const { return at("App.ini"); }
    std::string saved;
};

const char* const sample = "; comment\r\n"
                           "[Settings]\r\n"
                           "Speed = 3 \r\n"
                           "Name=\"  quoted value  \"\r\n"
                           "Path='c:\\vorn'\r\n"
                           "Half=\"open\r\n"
                           "Count=12abc\r\n"
                           "Neg=-5\r\n"
                           "Word=abc\r\n"
                           "Empty=\r\n"
                           "\r\n"
                           "[Other]\r\n"
                           "speed=9\r\n";

} // namespace

TEST_F(Profiles, ReadingValues)
{
    put("App.ini", sample);
    struct Case {
        const char* section;
        const char* key;
        const char* expected;
        const char* why;
    };
    const Case cases[] = {
        {"Settings", "Speed", "3", "trimmed"},
        {"SETTINGS", "speed", "3", "names ignore case"},
        {"Other", "SPEED", "9", "same key in another section"},
        {"Settings", "Name", "  quoted value  ", "one pair of quotes removed, inside kept"},
        {"Settings", "Path", "c:\\vorn", "single quotes too"},
        {"Settings", "Half", "\"open", "an unpaired quote stays"},
        {"Settings", "Empty", "", "present but empty"},
        {"Settings", "Missing", "dflt", "missing key: default"},
        {"Nowhere", "Speed", "dflt", "missing section: default"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        char buf[64] = "junk";
        const DWORD n = GetPrivateProfileString(c.section, c.key, "dflt", buf, sizeof buf, ini().c_str());
        EXPECT_STREQ(buf, c.expected);
        EXPECT_EQ(n, std::strlen(c.expected));
    }

    char small[4];
    EXPECT_EQ(GetPrivateProfileString("Settings", "Name", "", small, sizeof small, ini().c_str()), 3u);
    EXPECT_STREQ(small, "  q") << "cut to size-1 bytes";

    struct IntCase {
        const char* key;
        int expected;
    };
    const IntCase ints[] = {{"Speed", 3}, {"Count", 12}, {"Neg", -5}, {"Word", 0}, {"Empty", 0}, {"Missing", 77}};
    for (const IntCase& c : ints) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(static_cast<int>(GetPrivateProfileInt("Settings", c.key, 77, ini().c_str())), c.expected);
    }
    EXPECT_EQ(GetPrivateProfileInt("Settings", "Speed", 77, at("nofile.ini").c_str()), 77u);
}

TEST_F(Profiles, ListsOfSectionsAndKeys)
{
    put("App.ini", sample);
    char buf[128];
    const DWORD n = GetPrivateProfileString(nullptr, nullptr, "", buf, sizeof buf, ini().c_str());
    EXPECT_EQ(std::string(buf, n + 1), std::string("Settings\0Other\0\0", 16));
    const DWORD k = GetPrivateProfileString("other", nullptr, "", buf, sizeof buf, ini().c_str());
    EXPECT_EQ(std::string(buf, k + 1), std::string("speed\0", 7));
}

TEST_F(Profiles, Edits)
{
    struct Case {
        std::string before;
        const char* section;
        const char* key;
        const char* value;
        std::string after;
        const char* why;
    };
    const Case cases[] = {
        {"[A]\r\nx=1\r\n; note\r\n[B]\r\ny=2\r\n", "a", "X", "5",
         "[A]\r\nX=5\r\n; note\r\n[B]\r\ny=2\r\n", "replace in place, comments kept"},
        {"[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n", "A", "z", "3",
         "[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n", "new key after the section's last entry"},
        {"[A]\nx=1\n", "B", "y", "two words",
         "[A]\r\nx=1\r\n\r\n[B]\r\ny=two words\r\n", "new section at the end, LF file gets CR LF"},
        {"[A]\r\nx=1\r\ny=2\r\n", "A", "x", nullptr, "[A]\r\ny=2\r\n", "NULL value removes the key"},
        {"[A]\r\nx=1\r\n[B]\r\ny=2\r\n", "A", nullptr, nullptr, "[B]\r\ny=2\r\n", "NULL key removes the section"},
        {"", "New", "k", "v", "[New]\r\nk=v\r\n", "empty file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        put("App.ini", c.before);
        EXPECT_EQ(WritePrivateProfileString(c.section, c.key, c.value, ini().c_str()), TRUE);
        EXPECT_EQ(get("App.ini"), c.after);
    }
}

TEST_F(Profiles, NoFileIsCreatedForARemoval)
{
    EXPECT_EQ(WritePrivateProfileString("A", "x", nullptr, at("none.ini").c_str()), TRUE);
    EXPECT_FALSE(exists("none.ini"));
    EXPECT_EQ(WritePrivateProfileString("A", "x", "1", at("nodir/none.ini").c_str()), FALSE)
        << "a failed write says so";
}

TEST_F(Profiles, WinIniAndBareNamesLiveInTheProfileFolder)
{
    EXPECT_EQ(ProfileDir(), at("config/vorn"));
    EXPECT_EQ(WriteProfileString("Windows", "device", "PDF,,out.pdf"), TRUE);
    EXPECT_EQ(get("config/vorn/win.ini"), "[Windows]\r\ndevice=PDF,,out.pdf\r\n");
    char buf[64];
    EXPECT_EQ(GetProfileString("windows", "DEVICE", "", buf, sizeof buf), 12u);
    EXPECT_STREQ(buf, "PDF,,out.pdf") << "commas are part of the value";
    EXPECT_EQ(GetProfileInt("Windows", "missing", -1), static_cast<UINT>(-1));

    EXPECT_EQ(WritePrivateProfileString("Sim", "Seed", "7", "VORN.INI"), TRUE);
    EXPECT_EQ(get("config/vorn/VORN.INI"), "[Sim]\r\nSeed=7\r\n");
    EXPECT_EQ(GetPrivateProfileInt("sim", "seed", 0, "vorn.ini"), 7u) << "found ignoring case";
}
