// Names with "\" and in any case found on a case-sensitive file system.
#include "kernel_fixture.h"
#include "plat/path.h"
#include <cerrno>
#include <climits>
#include <unistd.h>

using namespace plat;

namespace {

class Paths : public ScratchDir {
protected:
    void SetUp() override
    {
        ScratchDir::SetUp();
        put("Data/Guide1.CMD", "g");
        put("Data/Sub/VORN.LRN", "l");
        put("multi/data.TXT", "3");
        put("multi/Data.txt", "2");
        put("multi/DATA.txt", "1");
        put("multi/exact.txt", "e");
        put("multi/EXACT.txt", "E");
        put("Caf\xC3\xA9/menu.mnu", "m"); // UTF-8 on disk
    }
};

} // namespace

TEST_F(Paths, ResolvesEachComponent)
{
    struct Case {
        std::string asked, found;
        const char* why;
    };
    const Case cases[] = {
        {"/Data/Guide1.CMD", "/Data/Guide1.CMD", "exact"},
        {"/data/guide1.cmd", "/Data/Guide1.CMD", "other case"},
        {"\\DATA\\SUB\\vorn.lrn", "/Data/Sub/VORN.LRN", "backslashes"},
        {"/data\\sub/Vorn.Lrn", "/Data/Sub/VORN.LRN", "mixed separators"},
        {"//Data//Guide1.CMD", "/Data/Guide1.CMD", "doubled separators"},
        {"/multi/data.txt", "/multi/DATA.txt", "several matches: byte-wise smallest"},
        {"/multi/EXACT.txt", "/multi/EXACT.txt", "an exact name wins over the smallest"},
        {"/multi/Exact.TXT", "/multi/EXACT.txt", "several matches again"},
        {"/DATA/new file.txt", "/Data/new file.txt", "new file: parent resolved, name kept"},
        {"/nofolder/sub/Guide1.CMD", "/nofolder/sub/Guide1.CMD", "missing folder: rest as given"},
        {"/CAF\xE9/MENU.MNU", "/Caf\xC3\xA9/menu.mnu", "1252 name becomes UTF-8"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        std::string out;
        ASSERT_TRUE(ResolvePath((dir + c.asked).c_str(), out));
        EXPECT_EQ(out, dir + c.found);
    }
}

TEST_F(Paths, RelativeNamesStartAtTheCurrentFolder)
{
    char old[PATH_MAX];
    ASSERT_NE(::getcwd(old, sizeof old), nullptr);
    ASSERT_TRUE(SetCurrentDirectory((dir + "\\DATA").c_str()));
    EXPECT_EQ(ResolvePath("sub\\vorn.lrn"), "Sub/VORN.LRN");
    EXPECT_EQ(ResolvePath("GUIDE1.cmd"), "Guide1.CMD");
    EXPECT_EQ(ResolvePath("..\\MULTI\\exact.txt"), "../multi/exact.txt");
    ASSERT_EQ(::chdir(old), 0);
}

TEST_F(Paths, DrivePrefixIsRefused)
{
    for (const char* name : {"C:\\VORN\\VORN.LRN", "c:vorn.lrn", "Z:/x"}) {
        SCOPED_TRACE(name);
        std::string out = "stale";
        errno = 0;
        EXPECT_FALSE(ResolvePath(name, out));
        EXPECT_EQ(errno, ENOENT);
        EXPECT_EQ(out, "");
    }
}

TEST_F(Paths, FileOperationsTakeWindowsNames)
{
    EXPECT_TRUE(CopyFile((dir + "\\data\\GUIDE1.cmd").c_str(), (dir + "\\copy.cmd").c_str(), TRUE));
    EXPECT_EQ(get("copy.cmd"), "g");
    EXPECT_FALSE(CopyFile((dir + "/Data/Guide1.CMD").c_str(), (dir + "/COPY.CMD").c_str(), TRUE))
        << "target exists (in another case)";
    put("other.cmd", "o");
    EXPECT_TRUE(CopyFile((dir + "/OTHER.cmd").c_str(), (dir + "/copy.cmd").c_str(), FALSE));
    EXPECT_EQ(get("copy.cmd"), "o");

    EXPECT_TRUE(MoveFile((dir + "/COPY.CMD").c_str(), (dir + "/multi/EXACT.TXT").c_str()));
    EXPECT_FALSE(exists("copy.cmd"));
    EXPECT_EQ(get("multi/EXACT.txt"), "o") << "the target is replaced";

    EXPECT_TRUE(DeleteFile((dir + "\\MULTI\\Exact.TXT").c_str()));
    EXPECT_FALSE(exists("multi/EXACT.txt")) << "of two matches, the smallest goes";
    EXPECT_TRUE(exists("multi/exact.txt"));
    EXPECT_FALSE(DeleteFile((dir + "/multi/nothing").c_str()));
    EXPECT_FALSE(CopyFile((dir + "/nothing").c_str(), (dir + "/x").c_str(), FALSE));
    EXPECT_FALSE(exists("x"));
}

TEST_F(Paths, CurrentDirectoryTruncatesLikeWin32)
{
    char old[PATH_MAX];
    ASSERT_NE(::getcwd(old, sizeof old), nullptr);
    ASSERT_TRUE(SetCurrentDirectory((dir + "/data/sub").c_str()));
    const std::string want = dir + "/Data/Sub";
    char buf[PATH_MAX];
    EXPECT_EQ(GetCurrentDirectory(sizeof buf, buf), want.size());
    EXPECT_EQ(std::string(buf), want);
    // Too small: nothing copied, the size needed with its NUL returned.
    EXPECT_EQ(GetCurrentDirectory(static_cast<DWORD>(want.size()), buf), want.size() + 1);
    EXPECT_FALSE(SetCurrentDirectory((dir + "/nothing").c_str()));
    ASSERT_EQ(::chdir(old), 0);
}
