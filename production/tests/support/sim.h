// The sample plant driven minute by minute in the clock's hook order, with a strict scenario reader.
#pragma once
#include "../../../shopfloor/tests/support/fakes.h"
#include "production/plant_data_source.h"
#include "production/production_wnd.h"
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

// What the reader's fatal box names: level and the last request.
struct LoadError : std::runtime_error {
    LoadError(int level, std::string section, int topic, int record, int item)
        : std::runtime_error("Data Loading Error " + std::string(level == 0 ? "SECTION" : level == 1 ? "RECORD" : "ITEM") +
                             " " + section + " " + std::to_string(topic) + "/" + std::to_string(record) + "/" +
                             std::to_string(item)),
          level(level), section(std::move(section)), topic(topic), record(record), item(item)
    {
    }
    int level;
    std::string section;
    int topic, record, item;
};

// Reads "[NAME]" sections of topics ("$"), records ("@") and items ("^"); blanks between records are skipped.
class TextPlantData : public PlantDataSource {
public:
    explicit TextPlantData(std::string text) : all(std::move(text)) {}

    void find_section(const char* name) override
    {
        section = name;
        topic = record = item = 0;
        std::string head = "[";
        head += name;
        head += ']';
        const size_t at = all.find(head);
        if (at == std::string::npos)
            throw LoadError(0, section, 0, 0, 0);
        const size_t begin = all.find('^', at + head.size());
        const size_t end = all.find('[', at + head.size());
        body = all.substr(begin, (end == std::string::npos ? all.size() : end) - begin);
    }
    int16_t get_record(int16_t t, int16_t r) override
    {
        topic = t;
        record = r;
        item = 0;
        std::vector<std::string> topics = split(body, '$');
        if (t < 1 || static_cast<size_t>(t) > topics.size())
            load_error(1);
        std::vector<std::string> records;
        for (const std::string& piece : split(topics[static_cast<size_t>(t - 1)], '@')) {
            const size_t first = piece.find_first_not_of(" \t\r\n");
            if (first != std::string::npos)
                records.push_back(piece.substr(first));
        }
        // A record must close with "@": the text after the last one is not a record.
        const std::string& tt = topics[static_cast<size_t>(t - 1)];
        const size_t last_at = tt.rfind('@');
        if (last_at == std::string::npos || tt.find_first_not_of(" \t\r\n", last_at + 1) != std::string::npos)
            if (!records.empty())
                records.pop_back();
        if (r < 1 || static_cast<size_t>(r) > records.size())
            load_error(1);
        current = records[static_cast<size_t>(r - 1)];
        if (current.empty() || current[0] != '^')
            load_error(1);
        return static_cast<int16_t>(std::count(current.begin(), current.end(), '^') - 1);
    }
    int32_t item_int(int16_t n) override { return static_cast<int32_t>(std::strtol(item_text(n).c_str(), nullptr, 10)); }
    double item_float(int16_t n) override { return std::strtod(item_text(n).c_str(), nullptr); }
    char item_char(int16_t n) override
    {
        const std::string s = item_text(n);
        return s.empty() ? '\0' : s[0];
    }
    std::string item_text(int16_t n) override
    {
        item = n;
        std::vector<std::string> parts = split(current, '^');
        // "^a^b^" splits into "", "a", "b", "": items sit between the carets.
        if (n < 1 || static_cast<size_t>(n) + 1 >= parts.size())
            load_error(2);
        return parts[static_cast<size_t>(n)];
    }
    [[noreturn]] void load_error(int level) override { throw LoadError(level, section, topic, record, item); }

private:
    static std::vector<std::string> split(const std::string& s, char c)
    {
        std::vector<std::string> out;
        size_t start = 0;
        for (;;) {
            const size_t at = s.find(c, start);
            out.push_back(s.substr(start, at == std::string::npos ? std::string::npos : at - start));
            if (at == std::string::npos)
                return out;
            start = at + 1;
        }
    }
    std::string all, body, current, section;
    int topic = 0, record = 0, item = 0;
};

inline std::string sample_plant_text()
{
    std::ifstream in(std::string(VORN_SOURCE_DIR) + "/scenarios/production.sec");
    std::stringstream s;
    s << in.rdbuf();
    return s.str() + "[END OF FILE]\n";
}

// A day is 480 working minutes (one shift); a month 21 working days.
struct Sim : Fakes {
    CProductionWnd prod{host, ui, marketing, purchasing, finance};

    explicit Sim(const std::string& text = sample_plant_text(), uint32_t seed = 1)
    {
        host.seed = seed;
        TextPlantData data(text);
        prod.load_production_data(data);
    }
    bool clock_hours = false;
    // Each order becomes a work order of its own size: no top-up to the sample's minimum of 10.
    void exact_work_orders() { prod.min_wo_quantity = 0; }
    void seed_u1(int units = 40) { prod.Jobs[2]->add_material_to_output(nullptr, 0, 0, units); }

    void minute()
    {
        ++host.ticks;
        host.new_month = false;
        host.new_year = false;
        if (host.is_day_start()) {
            ++host.day;
            if (host.day % 21 == 0) {
                host.new_month = true;
                host.stamp.month = static_cast<int16_t>(host.stamp.month % 12 + 1);
                host.new_year = host.stamp.month == 1;
            }
            host.stamp.day = static_cast<int16_t>(host.day % 21 + 1);
        }
        // When asked, the clock's hour follows the working minutes from 08:00 (09:00 reorders run).
        if (clock_hours) {
            host.stamp.hour = static_cast<int16_t>(8 + host.minute_of_day() / 60);
            host.stamp.minute = static_cast<int16_t>(host.minute_of_day() % 60);
        }
        if (host.new_year)
            prod.on_new_year();
        if (host.new_month)
            prod.on_new_month();
        if (host.is_new_week())
            prod.on_new_week();
        if (host.is_day_start())
            prod.daily_step(0);
        prod.on_minute();
    }
    void run(int minutes)
    {
        for (int i = 0; i < minutes; ++i)
            minute();
    }
    void order_a1(int16_t qty, int16_t type = ORDER_CUSTOMER, int16_t lead = 5)
    {
        prod.add_order(0, 0, qty, type, KIND_PRODUCT, lead);
    }
};
