#include "abundance_stats.h"

#include <cmath>

namespace ironsift {

namespace {

template <int Capacity>
void add_abundances(const FeLineTable<Capacity>& table, double& sum, int& n) {
  for (int i = 0; i < table.count && i < Capacity; ++i) {
    const FeLine& line = table.lines[static_cast<std::size_t>(i)];
    if (line.use_flag > 0) {
      sum += static_cast<double>(line.abundance);
      ++n;
    }
  }
}

template <int Capacity>
void add_squared_deviations(const FeLineTable<Capacity>& table, double mean, double& sum) {
  for (int i = 0; i < table.count && i < Capacity; ++i) {
    const FeLine& line = table.lines[static_cast<std::size_t>(i)];
    if (line.use_flag > 0) {
      const double deviation = static_cast<double>(line.abundance) - mean;
      sum += deviation * deviation;
    }
  }
}

}  // namespace

bool AVSIG(const FeTables& tables, float& mean, float& sigma) {
  double sum = 0.0;
  int n = 0;
  add_abundances(tables.fe1, sum, n);
  add_abundances(tables.fe2, sum, n);
  if (n == 0) {
    mean = 0.0f;
    sigma = 0.0f;
    return false;
  }
  const double exact_mean = sum / n;
  double squares = 0.0;
  add_squared_deviations(tables.fe1, exact_mean, squares);
  add_squared_deviations(tables.fe2, exact_mean, squares);
  mean = static_cast<float>(exact_mean);
  sigma = static_cast<float>(std::sqrt(squares / n));
  return true;
}

}  // namespace ironsift
