// A session saved in the layouts of older versions, for the departments'
// version-gate tests: the set written just before a version and the set
// written at it, and the check that a session resumed from either goes on.
#pragma once
#include "app/view.h"
#include "support/driver.h"
#include "support/scenario.h"
#include <gtest/gtest.h>
#include <string>

// A file of the session's set: "x.vnb" -> "x.PRD".
inline std::string state_file_of(const std::string& session, const char* ext)
{
    return session.substr(0, session.size() - 3) + ext;
}

// The same session saved twice in `dir`: in the layout of `before` and in that of `id`.
struct LayoutPair {
    std::string older, at;
    // How many bytes the department's file (ext) of `at` holds more.
    size_t added(const char* ext) const
    {
        return read_bytes(state_file_of(at, ext)).size() - read_bytes(state_file_of(older, ext)).size();
    }
};

inline LayoutPair save_before_and_at(CVornView& view, const TempDir& dir, const std::string& before,
                                     const std::string& id)
{
    LayoutPair p{dir / "older.vnb", dir / "at.vnb"};
    EXPECT_TRUE(view.SaveSession(p.older, false, before));
    EXPECT_TRUE(view.SaveSession(p.at, false, id));
    // Writing another layout leaves the session's own id alone.
    EXPECT_EQ(view.CheckVersionId(CURRENT_VERSION_ID), 1);
    return p;
}

// The session resumed in `d` runs `ticks` more and saves in the current
// layout; that set opens again and saves the department's file (ext) as it was.
inline void runs_on_and_reopens(SessionDriver& d, const DriverOptions& options, const TempDir& dir, const char* ext,
                                int ticks)
{
    const int32_t before = d.tickCount();
    d.runTicks(ticks);
    EXPECT_EQ(d.tickCount(), before + ticks);
    const std::string again = dir / "again.vnb", twice = dir / "twice.vnb";
    ASSERT_TRUE(d.save(again));
    SessionDriver next;
    ASSERT_TRUE(next.start(again, options)) << ::testing::PrintToString(next.prompts());
    ASSERT_TRUE(next.save(twice));
    EXPECT_EQ(read_bytes(state_file_of(twice, ext)), read_bytes(state_file_of(again, ext)));
}
