// Printing: a page through the profile's device "PDF,,<file>", page size
// and resolution, and the failure without a printer.
#include "plat/config.h"
#include "plat/gdi.h"
#include "plat/print.h"
#include "plat/profile.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

namespace {

using namespace plat;

std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

int count(const std::string& s, const std::string& what)
{
    int n = 0;
    for (size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1))
        ++n;
    return n;
}

class PrintTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitGui(); }
    void TearDown() override { WriteProfileString("windows", "device", nullptr); }
    std::string pdf_path(const char* name) { return std::string(VORN_BINARY_DIR) + "/" + name; }
};

TEST_F(PrintTest, PageThroughTheProfileDeviceBecomesAnA4Pdf)
{
    const std::string path = pdf_path("print_test_page.pdf");
    std::remove(path.c_str());
    const std::string device = "PDF,," + path;
    ASSERT_TRUE(WriteProfileString("windows", "device", device.c_str()));
    HDC dc = CreateDefaultPrinterDC();
    ASSERT_NE(dc, 0u);
    EXPECT_TRUE(IsPrinterDC(dc));
    // A4 at 300 dpi: 210 mm = 2480 px, 297 mm = 3508 px.
    EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 2480);
    EXPECT_EQ(GetDeviceCaps(dc, VERTRES), 3508);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 300);
    EXPECT_EQ(GetDeviceCaps(dc, TECHNOLOGY), DT_RASPRINTER);

    ASSERT_GT(Escape(dc, STARTDOC, 7, "QXGraph", nullptr), 0);
    // The chart library's mapping: a 1024 x 768 picture across the page width.
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, 1024, 768, nullptr);
    SetViewportExtEx(dc, 2480, 2480 * 768 / 1024, nullptr);
    RECT r{0, 0, 512, 384};
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SetMapMode(dc, MM_TEXT);
    EXPECT_EQ(GetPixel(dc, 1239, 929), RGB(0, 0, 0)) << "the quarter picture covers half the width";
    EXPECT_EQ(GetPixel(dc, 1241, 931), RGB(255, 255, 255));
    ASSERT_GT(Escape(dc, NEWFRAME, 0, nullptr, nullptr), 0);
    ASSERT_GT(Escape(dc, ENDDOC, 0, nullptr, nullptr), 0);
    EXPECT_TRUE(DeleteDC(dc));

    const std::string pdf = read_file(path);
    ASSERT_GT(pdf.size(), 100u);
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(pdf, m, std::regex(R"(/MediaBox \[0 0 ([0-9.]+) ([0-9.]+)\])")));
    // A4 in points: 595.28 x 841.89.
    EXPECT_NEAR(std::stod(m[1]), 595.3, 1.0);
    EXPECT_NEAR(std::stod(m[2]), 841.9, 1.0);
    EXPECT_EQ(count(pdf, "/Type /Page\n") + count(pdf, "/Type /Page\r") + count(pdf, "/Type /Page "), 1);
}

TEST_F(PrintTest, TwoPagesWithStartAndEndPage)
{
    const std::string path = pdf_path("print_test_two.pdf");
    std::remove(path.c_str());
    HDC dc = CreateDC(nullptr, "pdf", path.c_str(), nullptr);
    ASSERT_NE(dc, 0u);
    DOCINFO di;
    di.lpszDocName = "two";
    ASSERT_GT(StartDoc(dc, &di), 0);
    for (int i = 0; i < 2; ++i) {
        ASSERT_GT(StartPage(dc), 0);
        Rectangle(dc, 100, 100, 600, 400);
        ASSERT_GT(EndPage(dc), 0);
    }
    ASSERT_GT(EndDoc(dc), 0);
    DeleteDC(dc);
    const std::string pdf = read_file(path);
    std::smatch m;
    ASSERT_TRUE(std::regex_search(pdf, m, std::regex(R"(/Count ([0-9]+))")));
    EXPECT_EQ(m[1], "2");
}

TEST_F(PrintTest, WithoutAPrinterNothingPrints)
{
    WriteProfileString("windows", "device", nullptr);
    EXPECT_EQ(CreateDefaultPrinterDC(), 0u) << "no device line";
    WriteProfileString("windows", "device", ",,,");
    EXPECT_EQ(CreateDefaultPrinterDC(), 0u) << "the empty default";
    EXPECT_EQ(CreateDC(nullptr, "No Such Printer 4711", "LPT1:", nullptr), 0u);
    EXPECT_EQ(CreateDC(nullptr, "PDF", "", nullptr), 0u) << "PDF needs a file";
    EXPECT_LE(Escape(0, STARTDOC, 7, "QXGraph", nullptr), 0);
    EXPECT_LE(EndDoc(0), 0);
}

TEST_F(PrintTest, AbortedDocumentLeavesNoFile)
{
    const std::string path = pdf_path("print_test_aborted.pdf");
    std::remove(path.c_str());
    HDC dc = CreateDC(nullptr, "PDF", path.c_str(), nullptr);
    ASSERT_NE(dc, 0u);
    ASSERT_GT(Escape(dc, STARTDOC, 1, "x", nullptr), 0);
    EXPECT_GT(AbortDoc(dc), 0);
    DeleteDC(dc);
    std::ifstream in(path);
    EXPECT_FALSE(in.good());
}

} // namespace
