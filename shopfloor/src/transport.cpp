// Transport: released jobs are loaded by free units and delivered in the same minute.
#include "shopfloor/transport.h"
#include "shopfloor/plant.h"
#include <algorithm>

namespace {

uint32_t due_of(const RTransportJob& j)
{
    return j.requesting_wo ? static_cast<uint32_t>(j.requesting_wo->due_minute) : 0xFFFFFFFFu;
}

} // namespace

RTransport_Manager::RTransport_Manager(Plant& p, int units) : plant(&p)
{
    for (int i = 0; i < units; ++i)
        Trans_Units.push_back(std::make_unique<RTransportUnit>(static_cast<uint8_t>(i), this));
}

void RTransport_Manager::add_job(std::unique_ptr<RTransportJob> job)
{
    job->daily_pick = 0;
    if (!sorted_once) {
        sorted_once = true;
        std::stable_sort(Trans_Jobs.begin(), Trans_Jobs.end(),
                         [](const auto& a, const auto& b) { return due_of(*a) < due_of(*b); });
    }
    const uint32_t due = due_of(*job);
    auto at = std::find_if(Trans_Jobs.begin(), Trans_Jobs.end(), [&](const auto& j) { return due_of(*j) > due; });
    Trans_Jobs.insert(at, std::move(job));
}

void RTransport_Manager::on_new_day()
{
    for (auto& j : Trans_Jobs)
        j->daily_pick = 0;
}

void RTransport_Manager::on_minute()
{
    if (!Trans_Jobs.empty() && !Trans_Units.empty()) {
        size_t cursor = 0;
        for (auto& unit : Trans_Units) {
            if (unit->state != 0)
                continue;
            const size_t n = Trans_Jobs.size();
            if (n == 0)
                break;
            if (cursor >= n)
                cursor = 0;
            bool stop = false;
            for (;;) {
                RTransportJob* job = Trans_Jobs[cursor].get();
                const bool last = cursor + 1 == n;
                cursor = last ? 0 : cursor + 1;
                const bool skipped = plant->transport_policy == 1 && job->source_wo && !materials_available(job->source_wo);
                if (!skipped) {
                    if (unit->take_job(job, 1))
                        break;
                    if (last) {
                        stop = true;
                        break;
                    }
                } else if (last) {
                    break;
                }
            }
            if (stop)
                break;
        }
    }
    // Ticking may finish jobs; the pool itself never changes here.
    for (size_t i = 0; i < Trans_Units.size(); ++i)
        Trans_Units[i]->tick();
}

void RTransport_Manager::erase_job(const RTransportJob* job)
{
    for (auto& u : Trans_Units)
        if (u->job == job) {
            u->job = nullptr;
            u->state = 0;
            u->loaded = 0;
            u->minutes_left = 0;
        }
    for (size_t i = 0; i < Trans_Jobs.size(); ++i)
        if (Trans_Jobs[i].get() == job) {
            Trans_Jobs.erase(Trans_Jobs.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
}

void RTransport_Manager::finish_job(RTransportJob* job)
{
    RWork_Order* src = job->source_wo;
    if (src && src->made_for_stock()) {
        erase_job(job);
        return;
    }
    if (src && job->dest_kind == src->item_kind && job->dest_index == src->item) {
        erase_job(job);
        plant->doom(src);
        return;
    }
    RWork_Order* W = src ? src : job->requesting_wo;
    erase_job(job);
    if (W && W->materials_started == 0 && !has_raw_material_jobs(W)) {
        if (RProduct* p = plant->product(W->product_position()))
            p->in_process = static_cast<int16_t>(p->in_process + static_cast<int32_t>(W->quantity));
        W->materials_started = 1;
    }
}

int16_t RTransport_Manager::has_raw_material_jobs(const RWork_Order* wo) const
{
    for (const auto& j : Trans_Jobs)
        if (j->source_wo == wo && j->source_kind == KIND_RAW)
            return 1;
    return 0;
}

int16_t RTransport_Manager::materials_available(const RWork_Order* wo) const
{
    for (const auto& j : Trans_Jobs) {
        if (j->source_wo != wo || j->source_kind != KIND_RAW)
            continue;
        if (j->source_index >= plant->Raw_Ms.size())
            return 0;
        uint16_t fam = NONE16, mat = NONE16;
        plant->purchasing->find_material_by_code(plant->Raw_Ms[j->source_index].code, fam, mat);
        if (fam == NONE16 || plant->purchasing->get_stock(fam, mat) < j->quantity)
            return 0;
    }
    return 1;
}

void RTransport_Manager::release_all()
{
    for (auto& j : Trans_Jobs)
        j->release = -1;
}

void RTransport_Manager::set_release(const RWork_Order* wo, int32_t minute)
{
    for (auto& j : Trans_Jobs)
        if (j->source_wo == wo)
            j->release = minute;
}

void RTransport_Manager::remove_jobs_of(const RWork_Order* wo)
{
    for (size_t i = Trans_Jobs.size(); i-- > 0;) {
        RTransportJob* j = Trans_Jobs[i].get();
        if (j->source_wo == wo || j->requesting_wo == wo)
            erase_job(j);
    }
}

int16_t RTransportUnit::take_job(RTransportJob* j, int minutes)
{
    if (state != 0)
        return 0;
    if (j->quantity == 0 || j->release == -2)
        return 0;
    if (j->release != -1 && static_cast<int64_t>(j->release) > static_cast<int64_t>(manager->plant->tick()))
        return 0;
    state = 2;
    job = j;
    minutes_left = static_cast<uint16_t>(minutes);
    const uint16_t l = load();
    if (l) {
        loaded = l;
        j->quantity = static_cast<uint16_t>(j->quantity - l);
        return 1;
    }
    state = 0;
    job = nullptr;
    return 0;
}

uint16_t RTransportUnit::load()
{
    Plant& pl = *manager->plant;
    RTransportJob& j = *job;
    const int minimum = manager->load_mode == 0 ? j.quantity : 1;
    switch (j.source_kind) {
    case KIND_RAW: {
        if (j.daily_pick)
            return 0;
        j.daily_pick = 1;
        if (j.source_index >= pl.Raw_Ms.size())
            return 0;
        uint16_t fam = NONE16, mat = NONE16;
        pl.purchasing->find_material_by_code(pl.Raw_Ms[j.source_index].code, fam, mat);
        if (fam == NONE16 || mat == NONE16)
            return 0;
        const int stock = pl.purchasing->get_stock(fam, mat);
        if (stock < j.quantity)
            pl.purchasing->add_unsupplied_units(fam, mat, j.quantity - stock);
        if (stock < minimum)
            return 0;
        const int l = std::min<int>(stock, j.quantity);
        pl.purchasing->add_stock(fam, mat, -l, 1);
        return static_cast<uint16_t>(l);
    }
    case KIND_JOB:
    case KIND_PRODUCT: {
        RProduct* p = j.source_kind == KIND_PRODUCT ? pl.product(j.source_index) : nullptr;
        RJob* src = j.source_kind == KIND_JOB ? pl.job(j.source_index) : (p ? pl.job(p->final_job) : nullptr);
        if (!src)
            return 0;
        const int avail = src->get_output_qty(j.source_wo, j.sx, j.sy);
        if (avail < minimum)
            return 0;
        const int l = std::min<int>(avail, j.quantity);
        src->add_material_to_output(j.source_wo, j.sx, j.sy, -l);
        if (p)
            p->departures -= l;
        return static_cast<uint16_t>(l);
    }
    default:
        return 0;
    }
}

uint16_t RTransportUnit::unload()
{
    Plant& pl = *manager->plant;
    RTransportJob& j = *job;
    const uint16_t l = loaded;
    if (j.dest_kind == KIND_JOB) {
        if (RJob* d = pl.job(j.dest_index))
            d->add_input_stock(j.requesting_wo, j.material_kind, j.material_index, l, j.dx, j.dy);
    } else if (j.dest_kind == KIND_PRODUCT) {
        RProduct* P = pl.product(j.dest_index);
        if (!P)
            return l;
        P->in_process = static_cast<int16_t>(P->in_process - l);
        P->on_order = static_cast<int16_t>(P->on_order - l);
        if (RWork_Order* wo = j.requesting_wo) {
            wo->allocate_finished();
            int left = l;
            for (size_t i = wo->Request.size(); i-- > 0 && left > 0;) {
                const int take = std::min(left, std::max(0, wo->finished_split[i].second));
                left -= take;
                const ProductionOrder* o = wo->Request[i];
                if (take > 0 && (o->order_type == ORDER_CUSTOMER || o->top_up == 2))
                    P->on_customer_orders = static_cast<int16_t>(P->on_customer_orders - take);
            }
        }
        P->departures -= l;
        if (P->stock_policy == 0) {
            uint16_t fam = NONE16, prod = NONE16;
            pl.marketing->find_product_by_code(P->code, fam, prod);
            if (fam != NONE16) {
                pl.marketing->draw_on_order_units(fam, prod);
                pl.marketing->update_product_stock(fam, prod, l, 0, -1);
            }
        } else if (RJob* f = pl.job(P->final_job)) {
            f->add_material_to_output(nullptr, 0, 0, l);
        }
    }
    return l;
}

void RTransportUnit::tick()
{
    if (state != 2 || !job)
        return;
    if (minutes_left > 0)
        --minutes_left;
    if (minutes_left != 0)
        return;
    RTransportJob* j = job;
    unload();
    state = 0;
    job = nullptr;
    loaded = 0;
    if (j->quantity == 0)
        manager->finish_job(j);
}
