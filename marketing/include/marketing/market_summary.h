// The sales summary's figures: twelve months of the chosen products' series.
#pragma once
#include <array>

class CMarketingWnd;

// Total (revenue), customers (open-order sales), clients (contract sales),
// units and throughput, in this order; slot 11 is the month just ended.
using SummarySeries = std::array<std::array<float, 12>, 5>;

// Choice 1 one product, 2 a family's products, 3 every product that is not
// retired; anything else gives zeros.
SummarySeries summary_series(const CMarketingWnd& m, int choice, int family, int product);

// The months before the run show nothing: slots 0 to 11 - month count.
void zero_months_before_run(SummarySeries& series, int month_count);
