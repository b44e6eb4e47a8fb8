// The bundled help as the program finds it in its data folder: a topic for
// every context id a Help button or a department's help opens, a contents
// page that reaches every topic, and both shown by the help viewer.
#include "plat/config.h"
#include "plat/help.h"
#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

using namespace plat;
namespace fs = std::filesystem;

const fs::path kData = fs::path(VORN_BINARY_DIR) / "data";
const fs::path kHelp = kData / "vorn.help";

// Every context id the program opens, with the window or dialog it belongs to.
struct Context {
    int id;
    const char* what;
};
const Context kContexts[] = {
    // Department windows, by their check box.
    {11, "Marketing window"}, {15, "Marketing window, View graph"},
    {12, "Production window"}, {16, "Production window, View total load"},
    {14, "Finance window"}, {17, "Finance window, Summary graphs"},
    // Marketing dialogs and reports.
    {100, "Product Information"}, {101, "Contract List"}, {103, "Red Line Statistics"},
    {104, "Sale Summary Table"}, {106, "Marketing Forecast"}, {107, "Monthly Sales"},
    {108, "Monthly Ordered Units"}, {109, "Units Sales Summary"}, {111, "Shipment List"},
    {112, "Order To Produce"}, {113, "Edit Product Parameters"}, {114, "Marketing-Production Links"},
    {115, "Updated Sales"},
    // Production.
    {102, "Master Production Schedule"}, {401, "Machine Information"}, {402, "Machines Utilization"},
    {403, "Machine Materials"}, {404, "Machine Total Load"}, {405, "Jobs Information"},
    {406, "WO Diagram"}, {407, "Routing Diagram"}, {408, "Production Times"},
    {409, "Rough Cut Capacity"}, {410, "WO Lead Time Statistics"}, {411, "All Products Routing"},
    {413, "Manual Scheduling"}, {414, "Order"}, {415, "Raw Material Release"},
    {416, "Set Machine Policy"}, {417, "Work Order Planning"}, {418, "Red line level policy"},
    {419, "Planning For Contracts"}, {420, "Waiting WO's"}, {422, "Assemble to order"},
    {423, "Make or Buy Decision"}, {424, "Raw Material Release List"},
    // Purchasing: the graph's own id, then the reports (menu id - 100) and
    // the action and policy dialogs.
    {204, "Consumed Units Graph"},
    {201, "Material Information"}, {202, "Red Line Statistics"}, {203, "Packages List"},
    {205, "Suppliers Average Lead Time"}, {206, "Purchasing Forecast"}, {207, "Consumption Summary"},
    {208, "Measurements Summary"}, {209, "Open Orders From Vendors"}, {210, "MRP List"},
    {211, "Daily unsupplied material"}, {212, "Unsupplied Material History"},
    {221, "Order"}, {222, "Packages"}, {223, "Suppliers"}, {224, "Change Supplier"},
    {225, "Order Package"}, {231, "Edit Material Parameters"}, {232, "Purchasing Policy"},
    {233, "Purchasing Contract End"},
    // Finance analyses.
    {301, "Product Analysis"}, {302, "Contract Cost Analysis"}, {306, "Marginal Profit Summary"},
    {307, "Global Performance Measures"}, {308, "Product Throughput Summary"},
    {309, "Contracts Throughput Summary"}, {310, "EVA Measurement"},
};

std::string read(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string title_of(const std::string& page)
{
    std::smatch m;
    return std::regex_search(page, m, std::regex("<title>([^<]*)</title>")) ? m[1].str() : "";
}

class Help : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitGui(); }
    void TearDown() override { WinHelp(0, nullptr, HELP_QUIT, 0); }
    // The name the program passes, beside the folder.
    const std::string hlp = (kData / "vorn.hlp").string();
};

TEST_F(Help, EveryContextIdOpensItsOwnTopic)
{
    ASSERT_TRUE(fs::is_directory(kHelp)) << "the build puts the help into the data folder";
    std::set<int> ids;
    for (const Context& c : kContexts) {
        SCOPED_TRACE(std::to_string(c.id) + " " + c.what);
        EXPECT_TRUE(ids.insert(c.id).second) << "listed twice";
        const fs::path page = kHelp / (std::to_string(c.id) + ".html");
        ASSERT_TRUE(fs::is_regular_file(page));
        const std::string text = read(page);
        EXPECT_FALSE(title_of(text).empty());
        EXPECT_NE(text.find("<p>"), std::string::npos) << "a topic says something";
        EXPECT_NE(text.find("href=\"contents.html\""), std::string::npos) << "and leads back to the contents";
        ASSERT_TRUE(WinHelp(0, hlp.c_str(), HELP_CONTEXT, static_cast<uintptr_t>(c.id)));
        EXPECT_EQ(fs::path(HelpViewerPage()).filename(), page.filename());
    }
}

TEST_F(Help, ContentsReachesEveryTopicAndNothingElse)
{
    const std::string contents = read(kHelp / "contents.html");
    ASSERT_FALSE(contents.empty());
    std::set<std::string> linked;
    const std::regex href("href=\"([^\"]*)\"");
    for (auto it = std::sregex_iterator(contents.begin(), contents.end(), href); it != std::sregex_iterator(); ++it)
        EXPECT_TRUE(linked.insert((*it)[1].str()).second) << (*it)[1].str() << " linked twice";
    std::set<std::string> pages;
    for (const auto& e : fs::directory_iterator(kHelp))
        if (e.path().filename() != "contents.html")
            pages.insert(e.path().filename().string());
    EXPECT_EQ(linked, pages) << "every link has its page and every page its link";
    for (const Context& c : kContexts)
        EXPECT_EQ(linked.count(std::to_string(c.id) + ".html"), 1u) << c.id;
}

TEST_F(Help, ViewerShowsTheContentsThenATopic)
{
    ASSERT_TRUE(WinHelp(0, hlp.c_str(), HELP_CONTENTS, 0));
    EXPECT_EQ(fs::path(HelpViewerPage()).filename(), "contents.html");
    const std::string contentsPng = (fs::path(VORN_BINARY_DIR) / "help_contents.png").string();
    fs::remove(contentsPng);
    EXPECT_TRUE(SaveHelpViewerPng(contentsPng.c_str()));
    EXPECT_GT(fs::file_size(contentsPng), 1000u);

    // The same window moves on to the topic; an id without a topic shows the
    // contents again.
    ASSERT_TRUE(WinHelp(0, hlp.c_str(), HELP_CONTEXT, 413));
    EXPECT_EQ(fs::path(HelpViewerPage()).filename(), "413.html");
    const std::string topicPng = (fs::path(VORN_BINARY_DIR) / "help_topic_413.png").string();
    fs::remove(topicPng);
    EXPECT_TRUE(SaveHelpViewerPng(topicPng.c_str()));
    ASSERT_TRUE(WinHelp(0, hlp.c_str(), HELP_CONTEXT, 5));
    EXPECT_EQ(fs::path(HelpViewerPage()).filename(), "contents.html");

    EXPECT_TRUE(WinHelp(0, hlp.c_str(), HELP_QUIT, 0));
    EXPECT_STREQ(HelpViewerPage(), "");
    EXPECT_FALSE(SaveHelpViewerPng(topicPng.c_str()));
}

} // namespace
