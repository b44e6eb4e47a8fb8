// Production's blocks of the policies file: the work-order planning
// settings, each machine's dispatch rule and work-order acceptance, and the
// release settings. The file carries no counts: the size follows the
// scenario's machines.
#include "production/production_wnd.h"
#include <cmath>

int32_t CProductionWnd::policies_size() const
{
    return 28 + 4 * static_cast<int32_t>(Machines.size());
}

void CProductionWnd::write_policies(RecordWriter& out) const
{
    out.i16(wo_planning_mode);
    out.i16(wo_planning_parameter);
    out.i16(wo_planning_countdown);
    out.i16(min_wo_demand);
    out.i16(min_wo_quantity);
    out.i16(red_level_policy);
    for (const auto& m : Machines) {
        out.i16(m->rule);
        out.i16(m->acceptance);
    }
    out.i16(release_policy);
    out.i16(mrp_lead_time_minutes);
    out.i16(mrp_option);
    out.i16(assembly_buffer_hours);
    out.i16(shipping_buffer_hours);
    out.i16(constraint_buffer_hours);
    out.f32(contract_factor);
}

bool CProductionWnd::read_policies(RecordReader& in)
{
    auto within = [](int v, int lo, int hi) { return v >= lo && v <= hi; };
    const int16_t mode = in.i16(), parameter = in.i16(), countdown = in.i16(), demand = in.i16(),
                  quantity = in.i16(), red_level = in.i16();
    bool good = within(mode, 0, 2) && parameter >= 0 && demand >= 0 && quantity >= 0;
    std::vector<std::pair<int16_t, int16_t>> machines;
    for (size_t i = 0; i < Machines.size(); ++i) {
        const int16_t rule = in.i16(), acceptance = in.i16();
        good = good && within(rule, RULE_FIFO, RULE_PRI) && within(acceptance, 0, 1);
        machines.emplace_back(rule, acceptance);
    }
    const int16_t policy = in.i16(), lead = in.i16(), option = in.i16(), assembly = in.i16(), shipping = in.i16(),
                  constraint = in.i16();
    const float factor = in.f32();
    good = good && !in.failed() && within(policy, 0, 5) && within(option, 0, 1) && assembly >= 0 && shipping >= 0 &&
           constraint >= 0 && std::isfinite(factor) && factor >= 0 && factor <= 100;
    // A block with a value the plant cannot run is passed over whole.
    if (!good)
        return false;
    wo_planning_mode = mode;
    wo_planning_parameter = parameter;
    wo_planning_countdown = countdown;
    min_wo_demand = demand;
    min_wo_quantity = quantity;
    red_level_policy = red_level;
    for (size_t i = 0; i < Machines.size(); ++i) {
        Machines[i]->rule = machines[i].first;
        Machines[i]->acceptance = machines[i].second;
    }
    release_policy = policy;
    mrp_lead_time_minutes = lead;
    mrp_option = option;
    assembly_buffer_hours = assembly;
    shipping_buffer_hours = shipping;
    constraint_buffer_hours = constraint;
    contract_factor = factor;
    return true;
}
