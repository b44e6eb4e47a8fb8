#include "support/fixture.h"
#include "plat/testing.h"
#include <cstdlib>

void fuzz_prc_state(const uint8_t* data, size_t size)
{
    plat::ScriptedHost host;
    Fixture fx;
    const std::vector<uint8_t> bytes(data, data + size);
    if (!fx.p.load_state_bytes(bytes))
        return;
    const std::vector<uint8_t> saved = fx.p.save_state_bytes();
    Fixture again;
    if (!again.p.load_state_bytes(saved) || again.p.save_state_bytes() != saved)
        std::abort();
    for (int day = 0; day < 3; ++day) {
        fx.next_day();
        fx.p.end_of_day_ordering();
        if (fx.p.day_index >= DAYS_KEPT)
            fx.p.on_new_month();
    }
}
