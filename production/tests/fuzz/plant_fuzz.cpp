#include "fuzz/plant_fuzz.h"
#include "support/sim.h"
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

[[noreturn]] void finding(const char* what)
{
    std::fprintf(stderr, "plant file finding: %s\n", what);
    std::abort();
}

} // namespace

bool fuzz_plant_file(const uint8_t* data, size_t size, std::string* error)
{
    const std::vector<uint8_t> bytes(data, data + size);
    static const std::string plant = sample_plant_text();
    Sim sim(plant);
    std::string why;
    if (!sim.prod.load_state_bytes(bytes, why)) {
        if (error != nullptr)
            *error = why;
        return false;
    }
    const std::vector<uint8_t> saved = sim.prod.save_state_bytes();
    Sim again(plant);
    if (!again.prod.load_state_bytes(saved, why))
        finding(("a saved file does not open again: " + why).c_str());
    if (again.prod.save_state_bytes() != saved)
        finding("save, load, save changes the bytes");
    try {
        sim.run(60);
    } catch (const FatalError& e) {
        finding((std::string("a loaded plant stops the program: ") + e.what()).c_str());
    }
    return true;
}
