// Share-deny opens inside one process.
#include "kernel_fixture.h"
#include "plat/crt.h"
#include <cerrno>

using namespace plat;

namespace {

class Sharing : public ScratchDir {
protected:
    void SetUp() override
    {
        ScratchDir::SetUp();
        put("STATE.MRK", "content");
        path = at("state.mrk"); // the other case: resolved like any open
    }
    std::string path;
};

} // namespace

TEST_F(Sharing, DenyPairs)
{
    struct Case {
        int firstFlag, firstShare, secondFlag, secondShare;
        bool secondOpens;
        const char* why;
    };
    const Case cases[] = {
        {_O_RDONLY, _SH_DENYNO, _O_RDONLY, _SH_DENYNO, true, "nothing denied"},
        {_O_RDONLY, _SH_DENYWR, _O_RDONLY, _SH_DENYNO, true, "deny write lets readers in"},
        {_O_RDONLY, _SH_DENYWR, _O_WRONLY, _SH_DENYNO, false, "deny write keeps writers out"},
        {_O_RDONLY, _SH_DENYWR, _O_RDWR, _SH_DENYNO, false, "read-write is a writer too"},
        {_O_WRONLY, _SH_DENYRD, _O_RDONLY, _SH_DENYNO, false, "deny read keeps readers out"},
        {_O_WRONLY, _SH_DENYRD, _O_WRONLY, _SH_DENYNO, true, "deny read lets writers in"},
        {_O_RDONLY, _SH_DENYRW, _O_RDONLY, _SH_DENYNO, false, "deny both"},
        {_O_RDONLY, _SH_DENYNO, _O_RDONLY, _SH_DENYWR, true, "second denies what nobody does"},
        {_O_WRONLY, _SH_DENYNO, _O_RDONLY, _SH_DENYWR, false, "second denies a write already held"},
        {_O_RDONLY, _SH_DENYNO, _O_RDONLY, _SH_DENYRD, false, "second denies a read already held"},
        {_O_RDWR, _SH_DENYNO, _O_RDONLY, _SH_DENYRW, false, "deny both against an open"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const int first = crt_sopen(path.c_str(), c.firstFlag | _O_BINARY, c.firstShare);
        ASSERT_GE(first, 0);
        errno = 0;
        const int second = crt_sopen(path.c_str(), c.secondFlag | _O_BINARY, c.secondShare);
        if (c.secondOpens) {
            EXPECT_GE(second, 0);
            EXPECT_EQ(crt_close(second), 0);
        } else {
            EXPECT_EQ(second, -1);
            EXPECT_EQ(errno, EACCES);
        }
        EXPECT_EQ(crt_close(first), 0);
        // Closed: the same pair is free again.
        const int again = crt_sopen(path.c_str(), c.secondFlag | _O_BINARY, c.secondShare);
        EXPECT_GE(again, 0);
        crt_close(again);
    }
}

TEST_F(Sharing, StdioOpensAreDenyNone)
{
    const int fd = crt_sopen(path.c_str(), _O_RDONLY | _O_BINARY, _SH_DENYWR);
    ASSERT_GE(fd, 0);
    FILE* reader = crt_fopen(path.c_str(), "rb");
    EXPECT_NE(reader, nullptr);
    errno = 0;
    EXPECT_EQ(crt_fopen(path.c_str(), "w"), nullptr);
    EXPECT_EQ(errno, EACCES);
    EXPECT_EQ(get("STATE.MRK"), "content") << "a refused \"w\" open truncates nothing";
    EXPECT_EQ(crt_fopen(path.c_str(), "a"), nullptr);
    EXPECT_EQ(crt_close(fd), 0);

    // A stdio open held: a deny-read open is refused until fclose.
    errno = 0;
    EXPECT_EQ(crt_sopen(path.c_str(), _O_RDWR, _SH_DENYRD), -1);
    EXPECT_EQ(errno, EACCES);
    std::fclose(reader);
    const int excl = crt_sopen(path.c_str(), _O_RDWR, _SH_DENYRW);
    EXPECT_GE(excl, 0);
    char buf[8] = {};
    EXPECT_EQ(crt_read(excl, buf, 7), 7);
    EXPECT_STREQ(buf, "content");
    EXPECT_EQ(crt_lseek(excl, 0, SEEK_SET), 0);
    EXPECT_EQ(crt_write(excl, "C", 1), 1);
    EXPECT_EQ(crt_close(excl), 0);
    EXPECT_EQ(get("STATE.MRK"), "Content");
}

TEST_F(Sharing, FlagsAndErrors)
{
    const int created = crt_sopen(at("new.prd").c_str(), _O_CREAT | _O_WRONLY | _O_BINARY, _SH_DENYNO);
    ASSERT_GE(created, 0);
    EXPECT_EQ(crt_write(created, "abc", 3), 3);
    crt_close(created);
    EXPECT_EQ(get("new.prd"), "abc");

    const int trunc = crt_sopen(at("NEW.PRD").c_str(), _O_TRUNC | _O_WRONLY, _SH_DENYNO);
    ASSERT_GE(trunc, 0);
    crt_close(trunc);
    EXPECT_EQ(get("new.prd"), "");

    errno = 0;
    EXPECT_EQ(crt_sopen(at("new.prd").c_str(), _O_CREAT | _O_EXCL | _O_WRONLY, _SH_DENYNO), -1);
    EXPECT_EQ(errno, EEXIST);
    errno = 0;
    EXPECT_EQ(crt_sopen(path.c_str(), _O_RDONLY, 0x55), -1);
    EXPECT_EQ(errno, EINVAL);
    errno = 0;
    EXPECT_EQ(crt_close(12345), -1);
    EXPECT_EQ(errno, EBADF);
}
