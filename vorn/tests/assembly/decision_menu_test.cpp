// The decision-menu file a session start writes for the decision browser,
// over the sample on the assembled departments.
#include "app/sessions.h"
#include "app/tutor_link.h"
#include "plat/testing.h"
#include "vorn/assembly.h"
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <csignal>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const std::string sample = std::string(VORN_BINARY_DIR) + "/data/SAMPLE.VNB";

struct InFolder {
    fs::path dir;
    std::string previous;
    InFolder()
    {
        dir = fs::temp_directory_path() / ("vorn-decisions-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        previous = fs::current_path().string();
        fs::current_path(dir);
    }
    ~InFolder()
    {
        fs::current_path(previous);
        fs::remove_all(dir);
    }
};

std::vector<std::string> texts(const MenuTable& t)
{
    std::vector<std::string> out;
    for (int i = 1; i <= t.count && i < MENU_TABLE_TEXTS; ++i)
        out.push_back(t.texts[static_cast<size_t>(i)]);
    return out;
}

std::vector<std::string> texts(const std::vector<DecisionEntry>& list, int32_t first_id)
{
    std::vector<std::string> out;
    for (size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(list[i].id, first_id + static_cast<int32_t>(i)) << list[i].text;
        out.push_back(list[i].text);
    }
    return out;
}

} // namespace

TEST(DecisionMenuOfTheSample, HoldsTheDepartmentsNarrowedMenus)
{
    InFolder folder;
    SessionManager sessions(Configuration{.timer_enabled = false}, department_assembly());
    StartOptions options;
    options.seed = 3;
    ASSERT_TRUE(sessions.StartSession(sample, options));
    CVornView& v = *sessions.view();
    const DepartmentMenus shownBefore = v.menu_tables;

    DecisionMenu file;
    ASSERT_TRUE(read_decision_menu_file("vorndec.mnu", file));
    EXPECT_EQ(fs::file_size("vorndec.mnu"), DECISION_MENU_SIZE);
    EXPECT_EQ(file.title, "Decisions");
    EXPECT_EQ(file.close_caption, "&Close");
    const int commands[3] = {ID_MARKETING, ID_PRODUCTION, ID_PURCHASING};
    const char* names[3] = {"Marketing", "Production", "Purchasing"};
    size_t entries = 0;
    for (size_t g = 0; g < 3; ++g) {
        SCOPED_TRACE(names[g]);
        EXPECT_EQ(file.groups[g].name, names[g]);
        CDepartmentWnd* d = v.department_by_command(commands[g]);
        ASSERT_NE(d, nullptr);
        DepartmentMenus menus;
        d->build_menus(menus);
        d->SelectMenuTexts(menus);
        EXPECT_EQ(texts(file.groups[g].actions, 401), texts(menus.tables[1]));
        EXPECT_EQ(texts(file.groups[g].policies, 501), texts(menus.tables[2]));
        entries += file.groups[g].actions.size() + file.groups[g].policies.size();
    }
    EXPECT_GT(entries, 0u) << "the sample names some decisions";
    EXPECT_TRUE(file.groups[3].name.empty());
    // The shown department's popups were left alone.
    for (size_t t = 0; t < 3; ++t)
        EXPECT_EQ(texts(v.menu_tables.tables[t]), texts(shownBefore.tables[t]));
    // Written again, the same bytes.
    std::ifstream first("vorndec.mnu", std::ios::binary);
    const std::string before((std::istreambuf_iterator<char>(first)), std::istreambuf_iterator<char>());
    ASSERT_TRUE(WriteDecisionMenu(v));
    std::ifstream second("vorndec.mnu", std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(second)), std::istreambuf_iterator<char>()), before);
}

TEST(DecisionMenuOfTheSample, FailedWriteRemovesTheOldFileWithABox)
{
    InFolder folder;
    plat::ScriptedHost host;
    host.Answer(plat::IDOK, "");
    SessionManager sessions(Configuration{.timer_enabled = false}, department_assembly());
    StartOptions options;
    options.seed = 3;
    ASSERT_TRUE(sessions.StartSession(sample, options));
    ASSERT_TRUE(fs::exists("vorndec.mnu"));
    host.clear_records();
    bool written = true;
    {
        // A full disk: no file of the process may grow past 1000 bytes.
        std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit previous {};
        ::getrlimit(RLIMIT_FSIZE, &previous);
        struct rlimit limit = previous;
        limit.rlim_cur = 1000;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        written = WriteDecisionMenu(*sessions.view());
        ::setrlimit(RLIMIT_FSIZE, &previous);
    }
    EXPECT_FALSE(written);
    EXPECT_FALSE(fs::exists("vorndec.mnu")) << "a stale file would open other decisions";
    size_t left = 0;
    for (const auto& e : fs::directory_iterator("."))
        left += e.path().filename().string().rfind("vorndec.mnu", 0) == 0 ? 1 : 0;
    EXPECT_EQ(left, 0u) << "no temp file left";
    ASSERT_EQ(host.boxes().size(), 1u);
    EXPECT_EQ(host.boxes()[0].text, "Unable to write decision menu file vorndec.mnu");
}
