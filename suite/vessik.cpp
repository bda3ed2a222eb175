// Stand-in for the suite's vessik: records the convection switch of the model
// (0: mixing length 1.25 without overshoot, 1: with overshoot) in "vessik.dat".
//
//   vessik <m>      e.g. vessik 0
#include <cstdio>
#include <string>

#include "standin.h"

int main(int argc, char** argv) {
  if (argc != 2 || (std::string(argv[1]) != "0" && std::string(argv[1]) != "1")) {
    std::cerr << "usage: vessik 0|1\n";
    return 2;
  }
  standin::end_if_switched("vessik");
  std::FILE* out = std::fopen(standin::kConvectionFile, "w");
  if (out == nullptr) {
    std::perror("vessik: vessik.dat");
    return 1;
  }
  std::fprintf(out, "%s 1.25\n", argv[1]);
  return std::fclose(out) == 0 ? 0 : 1;
}
