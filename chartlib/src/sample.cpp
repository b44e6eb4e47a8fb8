// Sample waves that span the view, so a graph can be styled before data come.
#include "core.h"
#include <algorithm>
#include <cmath>

namespace qxi {

void sample_wave(int wave, int id, double x0, double x1, double y0, double y1, double* xs, double* ys,
                 plat::Lcg& random)
{
    double m = (y0 + y1) / 2, q = (y1 - y0) / 4;
    // The id sets the frequency: id + 9 periods, in 64 bits and at least one,
    // so no id divides by zero or overflows.
    int64_t periods = std::max<int64_t>(1, int64_t(id) + 9);
    int64_t f = std::max<int64_t>(1, 300 / periods);
    int64_t c = 0;
    double sign = 1, y = m;
    for (int i = 0; i < SAMPLE_POINTS; ++i) {
        double t = i / 299.0;
        double a = t * 2 * 3.1415926535 * double(periods);
        switch (wave) {
        case 1: y = m + (y1 - y0) / 2 * std::cos(a) * (300 - i) / 300; break;
        case 2: y = m + q * std::sin(a); break;
        case 3:
            // The point at the flip keeps the previous value.
            if (c <= f) {
                y = m + q * sign;
                ++c;
            } else {
                sign = -sign;
                c = 0;
            }
            break;
        case 4:
            if (c <= f) {
                y = m + q * (1 - 2.0 * double(c) / double(f));
                ++c;
            } else {
                c = 0;
            }
            break;
        default: y = y0 + random.next() * (y1 - y0) / 32767; break;
        }
        xs[i] = x0 + t * (x1 - x0);
        ys[i] = y;
    }
}

} // namespace qxi
