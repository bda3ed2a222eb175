// Stand-in for the suite's tolmar: the temperature structure of a grey
// atmosphere, T^4 = 3/4 Teff^4 (tau + 2/3), at 40 optical depths from
// log tau = -5.0 to +1.5, written to "tolmar.dat".
//
//   tolmar <Teff, 5 digits> <log g> <[M/H]>      e.g. tolmar 05750 4.44 +0.20
#include <cmath>
#include <cstdio>

#include "standin.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: tolmar Teff logg metallicity\n";
    return 2;
  }
  const double teff = standin::number_argument("tolmar", argv[1]);
  standin::number_argument("tolmar", argv[2]);
  standin::number_argument("tolmar", argv[3]);
  standin::end_if_switched("tolmar");
  std::FILE* out = std::fopen(standin::kTemperatureFile, "w");
  if (out == nullptr) {
    std::perror("tolmar: tolmar.dat");
    return 1;
  }
  std::fprintf(out, "%s %s %s\n", argv[1], argv[2], argv[3]);
  for (int i = 0; i < 40; ++i) {
    const double log_tau = -5.0 + 6.5 * i / 39.0;
    const double tau = std::pow(10.0, log_tau);
    const double temperature = teff * std::pow(0.75 * (tau + 2.0 / 3.0), 0.25);
    std::fprintf(out, "%7.3f %9.1f\n", log_tau, temperature);
  }
  return std::fclose(out) == 0 ? 0 : 1;
}
