// Stand-in for the suite's quorra: joins the temperature structure of tolmar
// and the convection switch of vessik into a model atmosphere, written to the
// file named after the arguments (t05750g444x+020m0), and removes the two
// work files. The model: three header records (TEFF and GRAVITY, a title with
// the metallicity, the deck line), 40 depth records of log tau, T, gas
// pressure and electron density, and an end record; every record is shorter
// than 80 characters. The pressure follows hydrostatic equilibrium with a
// constant opacity scaled by the metallicity: P = g tau / kappa.
//
//   quorra <Teff> <log g> <[M/H]> <m>      e.g. quorra 05750 4.44 +0.20 0
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "standin.h"

int main(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "usage: quorra Teff logg metallicity m\n";
    return 2;
  }
  const std::string t_text = argv[1], g_text = argv[2], x_text = argv[3], m_text = argv[4];
  const double teff = standin::number_argument("quorra", argv[1]);
  const double log_g = standin::number_argument("quorra", argv[2]);
  const double metallicity = standin::number_argument("quorra", argv[3]);
  standin::end_if_switched("quorra");

  std::FILE* temperatures = std::fopen(standin::kTemperatureFile, "r");
  std::FILE* convection = std::fopen(standin::kConvectionFile, "r");
  if (temperatures == nullptr || convection == nullptr) {
    std::cerr << "quorra: tolmar.dat or vessik.dat missing (run tolmar and vessik first)\n";
    if (temperatures) std::fclose(temperatures);
    if (convection) std::fclose(convection);
    return 1;
  }
  char header[128] = {};
  std::vector<std::pair<double, double>> depths;
  if (std::fgets(header, sizeof header, temperatures) != nullptr) {
    double log_tau = 0, temperature = 0;
    while (std::fscanf(temperatures, "%lf %lf", &log_tau, &temperature) == 2) {
      depths.emplace_back(log_tau, temperature);
    }
  }
  int mixing_flag = -1;
  double mixing_length = 0;
  const int read = std::fscanf(convection, "%d %lf", &mixing_flag, &mixing_length);
  std::fclose(temperatures);
  std::fclose(convection);
  if (depths.empty() || read != 2) {
    std::cerr << "quorra: tolmar.dat or vessik.dat is unreadable\n";
    return 1;
  }

  const std::string name = "t" + t_text + "g" + standin::without_point(g_text) + "x" +
                           standin::without_point(x_text) + "m" + m_text;
  std::FILE* out = std::fopen(name.c_str(), "w");
  if (out == nullptr) {
    std::perror(("quorra: " + name).c_str());
    return 1;
  }
  const double gravity = std::pow(10.0, log_g);
  const double opacity = 0.03 * std::pow(10.0, metallicity);  // cm^2/g
  std::fprintf(out, "TEFF %7.0f.  GRAVITY %7.5f LTE\n", teff, log_g);
  std::fprintf(out, "TITLE stand-in grey model [M/H]=%+5.2f mixing %d, l/H %4.2f\n",
               metallicity, mixing_flag, mixing_length);
  std::fprintf(out, "READ DECK6 %2zu LOGTAU,T,P,XNE\n", depths.size());
  for (const auto& [log_tau, temperature] : depths) {
    const double pressure = gravity * std::pow(10.0, log_tau) / opacity;
    // Electrons from ionised metals, rising steeply with temperature.
    const double electrons = 1.0e-4 * pressure / (1.38e-16 * temperature) *
                             std::pow(temperature / 5000.0, 6.0) * std::pow(10.0, metallicity);
    std::fprintf(out, "%8.3f %9.1f %11.4E %11.4E\n", log_tau, temperature, pressure, electrons);
  }
  std::fprintf(out, "PRADK 1.0000E+00\n");
  if (std::fclose(out) != 0) return 1;
  std::remove(standin::kTemperatureFile);
  std::remove(standin::kConvectionFile);
  return 0;
}
