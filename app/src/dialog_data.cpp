// What the application dialogs hold and decide.
#include "app/dialog_data.h"
#include "foundation/lang.h"
#include "foundation/msgbox.h"
#include "plat/path.h"
#include "plat/uihost.h"
#include <sys/stat.h>

static bool exists(const std::string& name)
{
    std::string resolved = plat::ResolvePath(name.c_str());
    struct stat st{};
    return !resolved.empty() && ::stat(resolved.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool SalesSummarySets::DefineSeries(int set, int series, const std::string& title, const float* data,
                                    uint32_t line_colour, uint32_t marker_colour)
{
    if (set < 0 || set >= MAX_SERIES_SETS || series < 0 || series >= MAX_SET_SERIES)
        return false;
    SeriesSet& s = sets_[static_cast<size_t>(set)];
    s.title = lang_translate(title.c_str());
    if (s.title.size() > SERIES_SET_TITLE_CHARS)
        s.title.resize(SERIES_SET_TITLE_CHARS);
    s.series[static_cast<size_t>(series)] = {data, line_colour, marker_colour};
    s.count = static_cast<int16_t>(series + 1);
    count_ = static_cast<int16_t>(set + 1);
    return true;
}

std::optional<int32_t> forecast_range_days(int32_t range, bool months)
{
    if (range <= 0) {
        lang_message_box(0, "Invalid range", "Forecast Range", plat::MB_OK);
        return std::nullopt;
    }
    return months ? range * work_days_per_month() : range;
}

std::vector<std::string> guided_run_names(const std::string& folder)
{
    std::vector<std::string> names;
    for (int n = 1; n <= 10; ++n) {
        std::string name = "Guide" + std::to_string(n);
        std::string file = (folder.empty() ? std::string() : folder + "/") + name + ".cmd";
        if (exists(file))
            names.push_back(name);
    }
    return names;
}

std::vector<LevelButton> open_session_buttons(const LearnRecord& r)
{
    std::vector<LevelButton> buttons;
    for (size_t i = 0; i < r.levels.size(); ++i)
        buttons.push_back({r.levels[i].title, learn_level_available(r, static_cast<int>(i))});
    std::string folder = r.folder.empty() ? std::string() : r.folder + "/";
    if (exists(folder + "LASTLRN") || exists(folder + "LASTLRN.VNB"))
        buttons.push_back({lang_translate("Last session"), true});
    return buttons;
}
