// Resource tables per module, the text hook, icons, and the CMake function
// that embeds image files.
#include "plat/config.h"
#include "plat/dialog.h"
#include "plat/gdi.h"
#include "plat/menu.h"
#include "plat/module.h"
#include "plat/res.h"
#include "plat/trace.h"
#include "plat/window.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using namespace plat;
namespace fs = std::filesystem;

const DlgItemTemplate kItems[] = {{"STATIC", 1, "Hello", WS_CHILD | WS_VISIBLE, 0, 0, 0, 50, 14}};
const DlgTemplate kA[] = {{10, "First", WS_POPUP | WS_CAPTION, 0, 0, 100, 50, nullptr, 0, kItems}};
const DlgTemplate kB[] = {{10, "Second", WS_POPUP | WS_CAPTION, 0, 0, 100, 50, nullptr, 0, kItems}};

TEST(Resources, TablesArePerModuleAndLaterRegistrationWins)
{
    HINSTANCE a = RegisterModule("RESA.EXE", nullptr);
    HINSTANCE b = RegisterModule("RESB.DLL", nullptr);
    RegisterDialogTemplates(a, kA);
    EXPECT_STREQ(FindDialogTemplate(a, 10)->caption, "First");
    EXPECT_EQ(FindDialogTemplate(b, 10), nullptr) << "another module's id is not shared";
    EXPECT_EQ(FindDialogTemplate(a, 11), nullptr);
    EXPECT_EQ(FindDialogTemplate(0, 10), nullptr);
    RegisterDialogTemplates(a, kB);
    EXPECT_STREQ(FindDialogTemplate(a, 10)->caption, "Second");
}

const char* shout(const char* text)
{
    static std::string out;
    out = std::string("[") + text + "]";
    return out.c_str();
}

TEST(Resources, TemplateTextsPassThroughTheModulesHook)
{
    InitGui();
    HINSTANCE m = RegisterModule("RESHOOK.EXE", nullptr);
    RegisterDialogTemplates(m, kA);
    EXPECT_STREQ(ResourceText(m, "Hello"), "Hello");
    SetResourceTextHook(m, shout);
    EXPECT_STREQ(ResourceText(m, "Hello"), "[Hello]");
    HWND dlg = CreateDialogParam(m, 10, 0, nullptr, 0);
    ASSERT_NE(dlg, 0u);
    char buf[32];
    GetWindowText(dlg, buf, sizeof buf);
    EXPECT_STREQ(buf, "[First]");
    GetDlgItemText(dlg, 1, buf, sizeof buf);
    EXPECT_STREQ(buf, "[Hello]");
    DestroyWindow(dlg);
    SetResourceTextHook(m, nullptr);
}

// A 2 x 1 24-bit .BMP: red, blue.
const unsigned char kBmp[] = {
    'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,
    40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 8, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 255, 255, 0, 0, 0, 0};

TEST(Resources, IconsDrawFromEmbeddedImages)
{
    InitGui();
    static const ImageResource images[] = {{ImageKind::Icon, 128, kBmp, sizeof kBmp, 0, 0}};
    HINSTANCE m = RegisterModule("RESICON.EXE", nullptr);
    RegisterImageResources(m, images);
    HICON icon = LoadIcon(m, 128);
    ASSERT_NE(icon, 0u);
    EXPECT_EQ(LoadIcon(m, 128), icon) << "loaded once";
    EXPECT_EQ(LoadIcon(m, 129), 0u);
    EXPECT_EQ(LoadModuleCursor(m, 128), 0u) << "kinds are apart";
    HDC mem = CreateCompatibleDC(0);
    HBITMAP bmp = CreateBitmap(4, 4, 1, 32, nullptr);
    SelectObject(mem, bmp);
    ASSERT_TRUE(DrawIcon(mem, 1, 1, icon));
    EXPECT_EQ(GetPixel(mem, 1, 1), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(mem, 2, 1), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(mem, 0, 0), RGB(0, 0, 0));
    DeleteDC(mem);
    DeleteObject(bmp);
}

// A 3 x 2 24-bit .BMP cursor, rows bottom-up; magenta is its key colour.
//   top row:    black   magenta white
//   bottom row: magenta black   magenta
const unsigned char kCursorBmp[] = {
    'B', 'M', 78, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,
    40, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 24, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    255, 0, 255, 0, 0, 0, 255, 0, 255, 0, 0, 0,
    0, 0, 0, 255, 0, 255, 255, 255, 255, 0, 0, 0};
// The same with every pixel white.
const unsigned char kWhiteBmp[] = {
    'B', 'M', 78, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,
    40, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 24, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    255, 255, 255, 255, 255, 255, 255, 255, 255, 0, 0, 0,
    255, 255, 255, 255, 255, 255, 255, 255, 255, 0, 0, 0};

TEST(Resources, ModuleCursorsLoadByIdAndShowOverTheWindow)
{
    InitGui();
    static const ImageResource images[] = {{ImageKind::Cursor, 106, kCursorBmp, sizeof kCursorBmp, 2, 1}};
    HINSTANCE m = RegisterModule("RESCURSOR.EXE", nullptr);
    HINSTANCE other = RegisterModule("RESCURSOR.DLL", nullptr);
    RegisterImageResources(m, images);

    const HCURSOR hand = LoadCursor(m, 106);
    ASSERT_NE(hand, 0u);
    EXPECT_EQ(LoadCursor(m, 106), hand) << "loaded once";
    EXPECT_EQ(LoadModuleCursor(m, 106), hand) << "both calls name one cursor";
    EXPECT_EQ(LoadCursor(m, 107), 0u);
    EXPECT_EQ(LoadCursor(other, 106), 0u) << "another module's id is not shared";
    EXPECT_EQ(LoadIcon(m, 106), 0u) << "kinds are apart";

    const HWND win = CreateWindowEx(0, "PlatWnd", "Cursor", WS_POPUP | WS_VISIBLE, 10, 10, 60, 40, 0, 0, 0, nullptr);
    ASSERT_NE(win, 0u);
    PumpEvents(10);
    SetClassLongPtr(win, GCLP_HCURSOR, hand);
    SimulateMouseMove(win, 5, 5);
    EXPECT_EQ(GetCursor(), hand) << "the default WM_SETCURSOR sets the window's cursor";
    SIZE size{};
    POINT hot{};
    std::vector<uint32_t> px;
    ASSERT_TRUE(GetWindowCursorPicture(win, &size, &hot, &px)) << "the picture, not a standard shape";
    EXPECT_EQ(size.cx, 3);
    EXPECT_EQ(size.cy, 2);
    EXPECT_EQ(hot.x, 2);
    EXPECT_EQ(hot.y, 1);
    ASSERT_EQ(px.size(), 6u);
    EXPECT_EQ(px[0], 0xFF000000u);
    EXPECT_EQ(px[1] >> 24, 0u) << "the key colour is see-through";
    EXPECT_EQ(px[2], 0xFFFFFFFFu);
    EXPECT_EQ(px[3] >> 24, 0u);
    EXPECT_EQ(px[4], 0xFF000000u);
    EXPECT_EQ(px[5] >> 24, 0u);

    // Read back through SetCursor's answers; a handle that is no cursor
    // leaves the current one.
    const HCURSOR arrow = LoadCursor(0, IDC_ARROW);
    EXPECT_EQ(SetCursor(arrow), hand);
    EXPECT_EQ(GetCursor(), arrow);
    EXPECT_EQ(SetCursor(hand), arrow);
    EXPECT_EQ(GetCursor(), hand);
    EXPECT_EQ(SetCursor(CreateSolidBrush(RGB(1, 2, 3))), hand);
    EXPECT_EQ(GetCursor(), hand);
    SimulateMouseMove(win, 6, 5);
    ASSERT_TRUE(GetWindowCursorPicture(win, &size, &hot, &px));
    SetClassLongPtr(win, GCLP_HCURSOR, arrow);
    SimulateMouseMove(win, 7, 5);
    EXPECT_FALSE(GetWindowCursorPicture(win, &size, &hot, &px)) << "back to the standard arrow";

    // The id registered again is a new picture.
    static const ImageResource white[] = {{ImageKind::Cursor, 106, kWhiteBmp, sizeof kWhiteBmp, 0, 0}};
    RegisterImageResources(m, white);
    const HCURSOR second = LoadCursor(m, 106);
    ASSERT_NE(second, 0u);
    EXPECT_NE(second, hand);
    SetClassLongPtr(win, GCLP_HCURSOR, second);
    SimulateMouseMove(win, 8, 5);
    ASSERT_TRUE(GetWindowCursorPicture(win, &size, &hot, &px));
    EXPECT_EQ(px[0], 0xFFFFFFFFu);
    EXPECT_EQ(hot.x, 0);
    DestroyWindow(win);
    SetCursor(arrow);
}

TEST(Resources, CMakeFunctionEmbedsFilesByteForByte)
{
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "plat_resources_check";
    fs::remove_all(dir);
    fs::create_directories(dir / "src");
    std::ofstream(dir / "src" / "one.bmp", std::ios::binary).write(reinterpret_cast<const char*>(kBmp), sizeof kBmp);
    std::ofstream(dir / "src" / "hand.cur", std::ios::binary) << "CUR";
    std::ofstream(dir / "src" / "CMakeLists.txt")
        << "cmake_minimum_required(VERSION 3.25)\nproject(check CXX)\n"
        << "include(" << VORN_SOURCE_DIR << "/platform/cmake/PlatResources.cmake)\n"
        << "add_library(check STATIC)\n"
        << "plat_add_resources(check demo_images BITMAP 104 one.bmp CURSOR 106 hand.cur 3 4)\n";
    // A fresh machine has no make: a "make" that fails stands first on the
    // path, so the nested build must use the generator this build uses.
    const fs::path nomake = dir / "nomake";
    fs::create_directories(nomake);
    for (const char* name : {"make", "gmake"}) {
        std::ofstream(nomake / name) << "#!/bin/sh\necho \"$0: not installed\" >&2\nexit 127\n";
        fs::permissions(nomake / name, fs::perms::owner_all);
    }
    const std::string cmd = "PATH=" + nomake.string() + ":\"$PATH\" \"" + VORN_CMAKE_COMMAND + "\" -G \"" +
                            VORN_CMAKE_GENERATOR + "\" -DCMAKE_MAKE_PROGRAM=\"" + VORN_CMAKE_MAKE_PROGRAM + "\" -S " +
                            (dir / "src").string() + " -B " + (dir / "build").string() + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    std::ifstream in(dir / "build" / "demo_images_resources.cpp");
    ASSERT_TRUE(in.good());
    std::stringstream s;
    s << in.rdbuf();
    const std::string text = s.str();
    EXPECT_NE(text.find("std::span<const plat::ImageResource> demo_images()"), std::string::npos);
    EXPECT_NE(text.find("0x42,0x4d,0x3e,0x00"), std::string::npos) << "the .BMP's first bytes";
    EXPECT_NE(text.find("{plat::ImageKind::Bitmap, 104,"), std::string::npos);
    EXPECT_NE(text.find("{plat::ImageKind::Cursor, 106, d1, sizeof d1, 3, 4}"), std::string::npos);
    EXPECT_NE(text.find("0x43,0x55,0x52"), std::string::npos) << "CUR";
}

} // namespace
