// Transport between machines: open transport jobs and the pool of units that carry them.
#pragma once
#include "shopfloor/byte_stream.h"
#include <cstdint>
#include <memory>
#include <vector>

class Plant;
class RTransport_Manager;
class RWork_Order;

struct RTransportJob {
    int16_t source_kind = 0;
    int16_t dest_kind = 1;
    int16_t material_kind = 0;
    uint8_t source_index = 0;
    uint8_t dest_index = 0;
    uint8_t material_index = 0;
    uint16_t quantity = 0;
    RWork_Order* source_wo = nullptr;
    RWork_Order* requesting_wo = nullptr;
    uint16_t from_input_stock = 0;
    uint16_t daily_pick = 0;
    int32_t release = -1;     // -1 released, -2 held, else the tick it may move from
    int16_t sx = 0, sy = 0, dx = 0, dy = 0;
};

class RTransportUnit {
public:
    RTransportUnit(uint8_t n, RTransport_Manager* m) : number(n), manager(m) {}
    int16_t take_job(RTransportJob* job, int minutes);
    void tick();
    uint16_t load();
    uint16_t unload();

    uint16_t state = 0;   // 0 free, 2 busy
    uint8_t number = 0;
    uint16_t minutes_left = 0;
    RTransportJob* job = nullptr;
    uint16_t loaded = 0;
    RTransport_Manager* manager;
};

class RTransport_Manager {
public:
    RTransport_Manager(Plant& plant, int units);
    void add_job(std::unique_ptr<RTransportJob> job);
    void on_new_day();
    void on_minute();
    void finish_job(RTransportJob* job);
    int16_t has_raw_material_jobs(const RWork_Order* wo) const;
    int16_t materials_available(const RWork_Order* wo) const;
    void release_all();
    void set_release(const RWork_Order* wo, int32_t minute);
    void remove_jobs_of(const RWork_Order* wo);
    void save_state(ByteWriter& w) const;
    bool load_state(ByteReader& r);

    Plant* plant;
    std::vector<std::unique_ptr<RTransportJob>> Trans_Jobs;
    std::vector<std::unique_ptr<RTransportUnit>> Trans_Units;
    uint16_t load_mode = 1;
    bool sorted_once = false;   // per manager: the first add sorts what a load left

private:
    void erase_job(const RTransportJob* job);
};
