// Recording departments.
#include "support/fakes.h"
#include "foundation/binfile.h"
#include <cstdio>

std::vector<std::string> Trace::lines(bool with_minutes) const
{
    std::vector<std::string> out;
    for (const HookCall& c : calls) {
        if (!with_minutes && c.hook == "on_minute")
            continue;
        char line[120];
        std::snprintf(line, sizeof line, "%d %s %s %d", c.tick, c.dept.c_str(), c.hook.c_str(), c.code);
        out.push_back(line);
    }
    return out;
}

int Trace::count(const std::string& dept, const std::string& hook) const
{
    int n = 0;
    for (const HookCall& c : calls)
        n += c.dept == dept && c.hook == hook;
    return n;
}

void RecordingDepartment::record(const char* hook, int code)
{
    trace_.calls.push_back({view() != nullptr ? view()->tick_count : -99, tag_, hook, code});
}

BOOL16 RecordingDepartment::daily_step(int16_t code)
{
    record("daily_step", code);
    return on_daily ? on_daily(code) : 1;
}

void RecordingDepartment::resume_step()
{
    record("resume_step", 0);
    if (on_resume)
        on_resume();
}

void RecordingDepartment::build_menus(DepartmentMenus& menus)
{
    static const char* kinds[] = {"info", "action", "policy"};
    for (int m = 0; m < 3; ++m) {
        for (int k = 1; k <= menu_texts[m]; ++k)
            menus.tables[m].texts[k] = tag_ + " " + kinds[m] + " " + std::to_string(k);
        menus.tables[m].count = menu_texts[m];
    }
}

void RecordingDepartment::save_state(BinFile& file)
{
    if (!state.empty())
        file.Write(state.data(), static_cast<int32_t>(state.size()));
}

static bool read_exactly(BinFile& file, std::vector<uint8_t>& bytes)
{
    std::vector<uint8_t> in(bytes.size());
    if (!in.empty() && file.Read(in.data(), static_cast<int32_t>(in.size())) != static_cast<int32_t>(in.size()))
        return false;
    bytes = in;
    return true;
}

bool RecordingDepartment::load_state(BinFile& file) { return read_exactly(file, state); }

void RecordingDepartment::save_tail(BinFile& file)
{
    if (!tail.empty())
        file.Write(tail.data(), static_cast<int32_t>(tail.size()));
}

bool RecordingDepartment::load_tail(BinFile& file)
{
    ++tails_read;
    return read_exactly(file, tail);
}

void RecordingDepartment::write_policies(RecordWriter& out)
{
    for (int16_t v : settings)
        out.i16(v);
}

void RecordingDepartment::read_policies(RecordReader& in)
{
    for (int16_t& v : settings)
        v = in.i16();
    record("read_policies", 0);
}

DepartmentFactory RecordingSet::factory()
{
    return [this](CVornView&) {
        Departments d;
        auto mk = std::make_unique<RecordingDepartment>("Mkt", trace);
        auto pd = std::make_unique<RecordingDepartment>("Prd", trace);
        auto pc = std::make_unique<RecordingDepartment>("Prc", trace);
        auto fn = std::make_unique<RecordingDepartment>("Fin", trace);
        marketing = mk.get();
        production = pd.get();
        purchasing = pc.get();
        finance = fn.get();
        if (configure)
            configure(*this);
        d.marketing = std::move(mk);
        d.production = std::move(pd);
        d.purchasing = std::move(pc);
        d.finance = std::move(fn);
        return d;
    };
}
