// The table of live graphs: handles carry a generation so that a destroyed
// graph's handle is never taken for a newer one.
#include "core.h"
#include <vector>

namespace qxi {

namespace {

// Low 16 bits: slot + 1; high 16 bits: generation (never 0).
struct Slot {
    std::unique_ptr<GraphRecord> graph;
    uint16_t generation = 1;
};

std::vector<Slot>& table()
{
    static std::vector<Slot> slots;
    return slots;
}

} // namespace

uint32_t graph_register(std::unique_ptr<GraphRecord> g)
{
    auto& t = table();
    size_t i = 0;
    while (i < t.size() && t[i].graph)
        ++i;
    if (i >= 0xFFFF)
        return 0;
    if (i == t.size())
        t.emplace_back();
    t[i].graph = std::move(g);
    return (uint32_t(t[i].generation) << 16) | uint32_t(i + 1);
}

GraphRecord* graph_from_handle(uint32_t handle)
{
    auto& t = table();
    uint32_t slot = handle & 0xFFFF;
    uint32_t gen = handle >> 16;
    if (slot == 0 || slot > t.size())
        return nullptr;
    Slot& s = t[slot - 1];
    if (!s.graph || s.generation != gen)
        return nullptr;
    return s.graph.get();
}

std::unique_ptr<GraphRecord> graph_release(uint32_t handle)
{
    if (!graph_from_handle(handle))
        return nullptr;
    Slot& s = table()[(handle & 0xFFFF) - 1];
    s.generation = uint16_t(s.generation == 0xFFFF ? 1 : s.generation + 1);
    return std::move(s.graph);
}

GraphRecord* graph_of_window(plat::HWND window)
{
    if (!window)
        return nullptr;
    for (auto& s : table())
        if (s.graph && s.graph->window == window)
            return s.graph.get();
    return nullptr;
}

bool graph_registry_exists()
{
    for (auto& s : table())
        if (s.graph)
            return true;
    return false;
}

} // namespace qxi
