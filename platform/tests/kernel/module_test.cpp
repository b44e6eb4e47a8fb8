// Modules by their Windows names, string tables, libraries, programs.
#include "kernel_fixture.h"
#include "plat/config.h"
#include "plat/module.h"
#include <chrono>
#include <climits>
#include <cstring>
#include <thread>
#include <unistd.h>

using namespace plat;

TEST(Modules, WindowsNamesMapToFileNames)
{
    struct Case {
        const char* name;
        const char* file;
    };
    const Case cases[] = {
        {"QXI32.DLL", "libqxi32.so"},
        {"qxc32.dll", "libqxc32.so"},
        {"Steplay32.EXE", "steplay32"},
        {"C:\\VORN\\VORN.EXE", "vorn"},
        {"dir/Compare.exe", "compare"},
        {"README", "readme"},
        {".dll", ".dll"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ModuleFileNameFor(c.name), c.file);
    }
}

TEST(Modules, StringTablesTruncate)
{
    const HINSTANCE h = RegisterModule("TESTMOD.DLL", "/opt/x/libtestmod.so");
    ASSERT_NE(h, 0u);
    EXPECT_EQ(RegisterModule("testmod.dll", nullptr), h) << "same module, any case";
    const StringEntry table[] = {{1000, "No error"}, {1001, "Bad graph handle"}};
    RegisterStringTable(h, table, 2);

    char buf[64];
    EXPECT_EQ(LoadString(h, 1001, buf, sizeof buf), 16);
    EXPECT_STREQ(buf, "Bad graph handle");
    EXPECT_EQ(LoadString(h, 1001, buf, 4), 3);
    EXPECT_STREQ(buf, "Bad");
    EXPECT_EQ(LoadString(h, 1002, buf, sizeof buf), 0) << "absent id";
    EXPECT_EQ(LoadString(0x7777, 1000, buf, sizeof buf), 0) << "unknown module";

    EXPECT_EQ(GetModuleHandle("TestMod.dll"), h);
    EXPECT_EQ(GetModuleHandle("libtestmod.so"), h);
    EXPECT_EQ(GetModuleHandle("OTHER.DLL"), 0u);
    EXPECT_EQ(GetModuleFileName(h, buf, sizeof buf), 20u);
    EXPECT_STREQ(buf, "/opt/x/libtestmod.so");
    EXPECT_EQ(GetModuleFileName(h, buf, 5), 5u) << "cut: the size comes back";
    EXPECT_STREQ(buf, "/opt");
}

TEST(Modules, TheExecutableAndLoadedLibraries)
{
    char exe[PATH_MAX] = {};
    ASSERT_GT(::readlink("/proc/self/exe", exe, sizeof exe - 1), 0);
    char buf[PATH_MAX];
    const HMODULE self = GetModuleHandle(nullptr);
    ASSERT_NE(self, 0u);
    EXPECT_EQ(GetModuleFileName(self, buf, sizeof buf), std::strlen(exe));
    EXPECT_STREQ(buf, exe);
    EXPECT_EQ(GetModuleFileName(0, buf, sizeof buf), std::strlen(exe));

    // The layer itself is linked in: found by its Windows-style name.
    const HMODULE lib = GetModuleHandle("PLATFORM.DLL");
    ASSERT_NE(lib, 0u);
    ASSERT_GT(GetModuleFileName(lib, buf, sizeof buf), 0u);
    EXPECT_EQ(std::string(buf).substr(std::string(buf).rfind('/') + 1), "libplatform.so");
}

TEST(Modules, LoadLibraryLooksBesideTheCaller)
{
    // libplatform.so sits beside the test program.
    const HINSTANCE h = LoadLibrary("Platform.DLL");
    ASSERT_GE(h, 32u);
    const FARPROC fn = GetProcAddress(h, "_ZN4plat10GetVersionEv");
    ASSERT_NE(fn, nullptr);
    EXPECT_EQ(reinterpret_cast<DWORD (*)()>(fn)(), 0x80000004u);
    EXPECT_EQ(GetProcAddress(h, "_ZN4PLAT10GETVERSIONEV"), fn) << "found ignoring case";
    EXPECT_EQ(GetProcAddress(h, "NoSuchFunction"), nullptr);
    EXPECT_EQ(LoadLibrary("PLATFORM"), h) << "no extension means .DLL";
    EXPECT_EQ(FreeLibrary(h), TRUE);
    EXPECT_EQ(FreeLibrary(h), TRUE);

    EXPECT_LT(LoadLibrary("QXC32.DLL"), 32u) << "absent library";
    EXPECT_LT(LoadLibrary(""), 32u);
    EXPECT_EQ(FreeLibrary(0x4242), FALSE);
}

class WinExecTest : public ScratchDir {};

TEST_F(WinExecTest, RestOfTheLineIsOneArgument)
{
    // touch is on PATH; one argument with a space makes one file.
    const std::string target = at("made by winexec.txt");
    EXPECT_EQ(WinExec(("Touch.EXE " + target).c_str(), 1), 33u);
    bool made = false;
    for (int i = 0; i < 500 && !made; ++i) {
        made = exists("made by winexec.txt");
        if (!made)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(made);
    EXPECT_FALSE(exists("made")) << "not split at the space";

    EXPECT_EQ(WinExec("NoSuchProgram.EXE guide1.cmd", 1), 2u);
    EXPECT_EQ(WinExec("", 1), 2u);
}
