// One operation of a route: its inputs, the requests waiting for it, its input stock and output.
#pragma once
#include "shopfloor/byte_stream.h"
#include "shopfloor/shopfloor_types.h"
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Plant;
class RMachine;
class RProduct;
class RWork_Order;

struct Waiting_WO {
    RWork_Order* wo = nullptr;
    uint16_t quantity = 0;
    uint16_t finished = 0;
    uint16_t started = 0;
    uint16_t spare = 0;
    int16_t x = 0;
    int16_t y = 0;
    int remaining() const { return static_cast<int>(quantity) - static_cast<int>(started); }
};

struct Input_Stock {
    RWork_Order* wo = nullptr;
    uint16_t kind = 0;
    uint8_t index = 0;
    int16_t quantity = 0;
    int16_t x = 0;
    int16_t y = 0;
};

struct Finished_Output {
    RWork_Order* wo = nullptr;
    int16_t quantity = 0;
    int16_t x = 0;
    int16_t y = 0;
};

struct RInp {
    int16_t kind = 0;
    uint8_t index = 0;
    uint16_t quantity = 1;   // per part
    uint16_t lead = 0;       // item 6
    uint16_t constraint_path = 0;
};

struct Inp_Pos {
    uint8_t input = 0;
    char letter = 0;
    uint8_t level = 0;
};

class RJob {
public:
    explicit RJob(Plant& plant) : plant(&plant) {}

    void set_machine(RMachine* m) { machine = m; }
    int16_t start_batch(Waiting_WO& request);
    int16_t end_setup(int unit);
    int16_t finish_batch(int unit, int n);
    int32_t downstream_room() const;
    bool inputs_available(const RWork_Order* wo, int16_t x, int16_t y, int n) const;
    void consume_inputs(int n, RWork_Order* wo, int16_t x, int16_t y);
    int16_t get_input_stock(const RWork_Order* wo, int kind, int index, int16_t x, int16_t y) const;
    void add_input_stock(RWork_Order* wo, int kind, int index, int q, int16_t x, int16_t y);
    void find_output_position(const RWork_Order* wo, int16_t& x, int16_t& y) const;
    int16_t get_output_qty(const RWork_Order* wo, int16_t x, int16_t y) const;
    void add_material_to_output(RWork_Order* wo, int16_t x, int16_t y, int q);
    uint8_t units_working_on(const RWork_Order* wo, int16_t x, int16_t y) const;
    int16_t parts_from_inputs(const RWork_Order* wo, int16_t x, int16_t y) const;
    void describe_inputs(const RWork_Order* wo, int16_t x, int16_t y, std::string& text) const;
    Waiting_WO* find_waiting_wo(const RWork_Order* wo) const;
    void cancel_units_on(const Waiting_WO* request);
    void forget_work_order(const RWork_Order* wo);
    Waiting_WO* add_request(RWork_Order* wo, uint16_t quantity, int16_t x, int16_t y);
    void remove_request(const Waiting_WO* request);
    // Clears a unit's slot; the busy count falls only when the flag was set.
    void clear_slot(int unit);
    int process_minutes();
    bool uses_job(int job) const;

    void save_state(ByteWriter& w) const;
    bool load_state(ByteReader& r);

    Plant* plant;
    char name[5] = {0};
    RProduct* product = nullptr;
    uint16_t product_position = 0;
    int16_t time_kind = 0;
    int16_t letter = 'a';
    uint8_t level = 0;
    uint8_t job_number = 0;
    uint16_t spare = 0;
    uint16_t machine_number = 0;
    RMachine* machine = nullptr;
    uint16_t time = 0;
    float minutes_per_part = 0.0f;
    uint16_t on_constraint = 0;
    uint16_t dbr_marker = 0;
    uint8_t busy_units = 0;
    uint16_t busy[MAX_UNITS] = {0, 0, 0, 0};
    std::vector<Input_Stock> input_stock;
    std::vector<Finished_Output> outputs;
    std::vector<std::unique_ptr<Waiting_WO>> requests;
    Waiting_WO* unit_request[MAX_UNITS] = {nullptr, nullptr, nullptr, nullptr};
    std::vector<RInp> inputs;
    uint16_t closing1 = 0;
    uint8_t closing2 = 0;
    std::vector<Inp_Pos> input_positions;
    int16_t role = 0;       // 1 consumed by job `parent`, 2 final job of product `parent`
    uint8_t parent = 0;
    int32_t work_content = 0;
};
