// What the stand-ins know of the sample plant.
#include "vorn/stand_ins.h"

namespace {
constexpr uint16_t NOT_FOUND = 65535;
bool is_material(int family, int material) { return family == 0 && (material == 0 || material == 1); }
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

void StandInPurchasing::find_material_by_code(const char* code, uint16_t& family, uint16_t& material)
{
    family = material = NOT_FOUND;
    if (code != nullptr && code[0] == 'X' && (code[1] == 'A' || code[1] == 'B')) {
        family = 0;
        material = code[1] == 'A' ? 0 : 1;
    }
}

int16_t StandInPurchasing::get_stock(int family, int material)
{
    return is_material(family, material) ? stock[material] : 0;
}

void StandInPurchasing::add_stock(int family, int material, int quantity, int)
{
    if (is_material(family, material))
        stock[material] = static_cast<int16_t>(stock[material] + quantity);
}

void StandInPurchasing::add_unsupplied_units(int family, int material, int units)
{
    if (is_material(family, material))
        unsupplied[material] += units;
}
