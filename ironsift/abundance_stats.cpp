#include "abundance_stats.h"

#include <cmath>

namespace ironsift {

bool AVSIG(const FeTables& tables, float& mean, float& sigma) {
  double sum = 0.0;
  int n = 0;
  for (const ConstFeTableView& table : tables.views()) {
    for (const FeLine& line : table.lines) {
      if (line.use_flag > 0) {
        sum += static_cast<double>(line.abundance);
        ++n;
      }
    }
  }
  if (n == 0) {
    mean = 0.0f;
    sigma = 0.0f;
    return false;
  }
  const double exact_mean = sum / n;
  double squares = 0.0;
  for (const ConstFeTableView& table : tables.views()) {
    for (const FeLine& line : table.lines) {
      if (line.use_flag > 0) {
        const double deviation = static_cast<double>(line.abundance) - exact_mean;
        squares += deviation * deviation;
      }
    }
  }
  mean = static_cast<float>(exact_mean);
  sigma = static_cast<float>(std::sqrt(squares / n));
  return true;
}

}  // namespace ironsift
