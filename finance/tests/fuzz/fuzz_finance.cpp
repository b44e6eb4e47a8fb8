#include "fuzz/fuzz_finance.h"
#include "support/fakes.h"
#include <cstdlib>

// A record that loads is one the engine runs, and what it saves it reads back
// to the same bytes; anything else is refused without a change.
void fuzz_finance_state(const uint8_t* data, size_t size)
{
    static Books* books = new Books();
    Books& b = *books;
    const std::vector<uint8_t> before = b.engine.save_state();
    const std::vector<uint8_t> bytes(data, data + size);
    if (!b.engine.load_state(bytes)) {
        if (b.engine.save_state() != before)
            std::abort();
        return;
    }
    const std::vector<uint8_t> saved = b.engine.save_state();
    if (!b.engine.load_state(saved) || b.engine.save_state() != saved)
        std::abort();
    // Run a day over what was loaded.
    const int32_t ticks = b.host.ticks;
    const CClockPane clock = b.host.clock_pane;
    b.run_ticks(480);
    b.engine.statement_lines();
    b.host.ticks = ticks;
    b.host.clock_pane = clock;
    b.host.state = 1;
    b.engine.load_state(before);
}
