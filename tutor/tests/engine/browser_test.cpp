// The decision browser's selections over a fake simulator.
#include "plat/msg.h"
#include "plat/testing.h"
#include "support/fake_link.h"
#include "support/tutor_test_support.h"
#include "tutor/browser.h"
#include <gtest/gtest.h>

using tutortest::FakeLink;

namespace {

constexpr plat::HWND kSim = 0x0042;

DecisionMenu file_menu()
{
    DecisionMenu m;
    m.close_caption = "&Close";
    m.actions_label = "Actions";
    m.policies_label = "Policies";
    m.groups[0].name = "Marketing";
    m.groups[1].name = "Production";
    m.groups[1].actions = {{"&Release", 401}};
    m.groups[1].policies = {{"Re&lease", 501}, {"&Dispatch", 502}};
    m.groups[2].name = "Purchasing";
    m.groups[2].actions = {{"&Order", 401}, {"&Packages", 402}, {"&Suppliers", 403}};
    m.groups[2].policies = {{"&Material parameters", 501}, {"&Purchasing policy", 502}};
    m.groups[3].name = "Management";
    m.groups[3].actions = {{"&Hidden", 409}};
    return m;
}

using Posts = std::vector<std::pair<plat::UINT, plat::WPARAM>>;

Posts commands(std::initializer_list<plat::WPARAM> ids)
{
    Posts out{{WM_TUTOR_REQUEST, TUTOR_REQUEST_EXECUTE}};
    for (plat::WPARAM id : ids)
        out.emplace_back(plat::WM_COMMAND, id);
    return out;
}

} // namespace

TEST(DecisionBrowser, MarkersAreStrippedFromEntriesOnly)
{
    const DecisionMenu shown = browser_menu(file_menu());
    EXPECT_EQ(shown.groups[2].actions[0].text, "Order");
    EXPECT_EQ(shown.groups[2].policies[0].text, "Material parameters");
    EXPECT_EQ(shown.groups[1].policies[0].text, "Release");
    EXPECT_EQ(shown.close_caption, "&Close") << "labels keep theirs";
    EXPECT_EQ(shown.groups[3].actions[0].text, "&Hidden") << "group 3 is not shown";
}

TEST(DecisionBrowser, SelectionsCloseFirstThenPostInOrder)
{
    const DecisionMenu shown = browser_menu(file_menu());
    struct Case {
        const char* root;
        const char* item;
        Posts want;
    };
    const Case cases[] = {
        {"Purchasing", "Order", commands({32779, 401})},
        {"Purchasing", "Purchasing policy", commands({32779, 502})},
        // Branches and roots only switch the department.
        {"Purchasing", "Actions", commands({32779})},
        {"Production", "Policies", commands({32778})},
        {"Marketing", "Marketing", commands({32777})},
        // A text in both lists opens both.
        {"Production", "Release", commands({32778, 401, 501})},
        // The marked text is no longer what the tree shows.
        {"Purchasing", "&Order", commands({32779})},
        // A root that is no shown group switches nothing.
        {"Management", "Hidden", commands({})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.root) + "/" + c.item);
        FakeLink link;
        select_decision(link, kSim, shown, c.root, c.item);
        EXPECT_EQ(link.posts_to(kSim), c.want);
        ASSERT_FALSE(link.calls.empty());
        EXPECT_EQ(link.calls[0].what, "store");
        EXPECT_EQ(link.calls[0].code, TUTOR_CLOSE_WINDOW);
        EXPECT_EQ(link.calls[0].text, "");
    }
}

TEST(DecisionBrowser, SameLeafTwiceOpensTwiceAndNoSimulatorReachesNothing)
{
    const DecisionMenu shown = browser_menu(file_menu());
    FakeLink link;
    select_decision(link, kSim, shown, "Purchasing", "Suppliers");
    select_decision(link, kSim, shown, "Purchasing", "Suppliers");
    Posts twice = commands({32779, 403});
    const Posts once = twice;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(link.posts_to(kSim), twice);

    FakeLink none;
    select_decision(none, 0, shown, "Purchasing", "Suppliers");
    EXPECT_TRUE(none.calls.empty());

    // A hand-over that fails posts no department command either.
    plat::ScriptedHost host;
    host.Answer(plat::IDOK, "");
    FakeLink failing;
    failing.store_fails = true;
    select_decision(failing, kSim, shown, "Purchasing", "Suppliers");
    EXPECT_TRUE(failing.posts_to(kSim).empty());
    EXPECT_EQ(host.boxes().size(), 1u);
}

TEST(DecisionBrowser, MissingOrDamagedFileGivesAnEmptyMenu)
{
    tutortest::TempDir dir;
    EXPECT_TRUE(load_browser_menu(dir / "vorndec.mnu").groups[2].actions.empty());
    tutortest::write_bytes(dir / "vorndec.mnu", std::string(14000, 'x'));
    const DecisionMenu m = load_browser_menu(dir / "vorndec.mnu");
    EXPECT_TRUE(m.groups[2].name.empty());
    EXPECT_TRUE(m.close_caption.empty());
    ASSERT_TRUE(write_decision_menu_file(dir / "vorndec.mnu", file_menu()));
    EXPECT_EQ(load_browser_menu(dir / "vorndec.mnu").groups[2].actions[1].text, "Packages");
}
