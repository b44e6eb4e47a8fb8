// Plan tables laying a machine's queue out in time: forward, available-work, drum-buffer-rope, parallel.
#pragma once
#include <cstdint>
#include <vector>

class Plant;
class RJob;
class RMachine;
struct Waiting_WO_Data;

struct PlanSlot {
    Waiting_WO_Data* entry = nullptr;
    uint16_t duration = 0;
    int32_t start = 0;
    int32_t end = 0;
    uint16_t changeover = 0;   // setup charged into this slot's duration
};

class RForwardPlanTable {
public:
    RForwardPlanTable(Plant& plant, int machine_index);
    virtual ~RForwardPlanTable() = default;
    void clear();
    virtual uint16_t entry_duration(const RJob* previous, const Waiting_WO_Data& entry) const;
    int16_t best_unit(const Waiting_WO_Data& entry, uint16_t& duration) const;
    int16_t AddIntoTable(Waiting_WO_Data* entry, uint16_t& duration);
    void AddIntoTableOnUnit(Waiting_WO_Data* entry, int unit, uint16_t& duration);
    uint32_t unit_load(int unit) const { return units[unit].load; }
    int32_t planned_start(const void* wo, int job_number) const;
    int32_t unit_end(int unit) const;

    struct Unit {
        std::vector<PlanSlot> line;
        uint32_t load = 0;
    };
    Plant* plant;
    uint16_t machine_index;
    RMachine* machine;
    std::vector<Unit> units;

protected:
    const RJob* previous_job(int unit) const;
};

// Times only the work that can run now.
class RAvailableWorkPlanTable : public RForwardPlanTable {
public:
    using RForwardPlanTable::RForwardPlanTable;
    uint16_t entry_duration(const RJob* previous, const Waiting_WO_Data& entry) const override;
};

class RDBRPlanTable {
public:
    RDBRPlanTable(Plant& plant, int machine_index, uint32_t buffer);
    virtual ~RDBRPlanTable() = default;
    void clear();
    virtual uint16_t entry_duration(const RJob* previous, const Waiting_WO_Data& entry, uint16_t& changeover) const;
    int16_t AddIntoTable(Waiting_WO_Data* entry, int32_t latest_end);
    int16_t find_entry(const Waiting_WO_Data* entry, int32_t& start) const;
    void push_forward(int32_t minute);
    bool in_buffer() const;

    struct Unit {
        std::vector<PlanSlot> line;
        uint32_t time = 0;
    };
    Plant* plant;
    uint16_t machine_index;
    uint32_t buffer;
    RMachine* machine;
    std::vector<Unit> units;

private:
    const RJob* last_run_job(int unit) const;
    void merge();
    void retime(std::vector<int>& pos);
};

class RParallelFPT {
public:
    RParallelFPT(Plant& plant, int machine_index);
    void add_waiting_data(Waiting_WO_Data* entry);
    float load_percent(int32_t start, uint16_t length) const;
    int32_t plan_end() const;

    Plant* plant;
    uint16_t machine_index;
    RMachine* machine;
    std::vector<PlanSlot> time_table;
};
