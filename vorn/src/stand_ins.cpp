// What the stand-ins know of the sample plant.
#include "vorn/stand_ins.h"

namespace {
constexpr uint16_t NOT_FOUND = 65535;
}

void StandInMarketing::find_product_by_code(const char* code, uint16_t& family, uint16_t& product)
{
    const bool known = code != nullptr && code[0] == 'A' && code[1] == '1';
    family = known ? 0 : NOT_FOUND;
    product = known ? 0 : NOT_FOUND;
}

void StandInMarketing::update_product_stock(int, int, int units, int, int)
{
    delivered += units;
}
