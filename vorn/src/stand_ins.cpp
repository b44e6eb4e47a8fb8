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

// Finished units take their materials out of Purchasing's process counts,
// as Marketing's stock update does.
void StandInMarketing::update_product_stock(int family, int product, int units, int, int)
{
    delivered += units;
    if (links_.purchasing == nullptr || links_.production == nullptr)
        return;
    for (int f = 0; f < links_.purchasing->family_count(); ++f)
        for (int m = 0; m < links_.purchasing->material_count(f); ++m) {
            const int per = links_.production->get_num_materials_in_product(static_cast<int16_t>(family),
                                                                            static_cast<int16_t>(product), f, m);
            if (per != 0)
                links_.purchasing->lower_in_process(f, m, per * units);
        }
}
