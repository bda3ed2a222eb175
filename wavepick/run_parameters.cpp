#include "run_parameters.h"

#include <array>
#include <cstdio>
#include <string_view>

#include "console.h"
#include "layout.h"
#include "lablen.h"
#include "process_env.h"
#include "record_reader.h"
#include "report_hint.h"
#include "texts.h"
#include "usage_text.h"

namespace wavepick {
namespace {

// What each numeric argument holds, for the further line of a report on it.
struct ArgumentMeaning {
  int position;
  std::string_view name;
  std::string_view meaning;
};
constexpr std::array<ArgumentMeaning, 6> kNumericArguments = {{
    {1, "W1", "the lower end of the range in \u00c5"},
    {2, "W2", "the upper end of the range in \u00c5"},
    {3, "CODE", "the species code (26.00 Fe I, 26.01 Fe II)"},
    {5, "XI", "the microturbulence in km/s"},
    {6, "ABUND", "the abundance"},
    {7, "EWMIN", "the smallest equivalent width that selects a line, in m\u00c5"},
}};

std::string argument_hint(int k) {
  for (const ArgumentMeaning& a : kNumericArguments) {
    if (a.position == k) {
      return "  argument " + std::to_string(k) + ", " + std::string(a.name) + ", " +
             std::string(a.meaning) + "; see wavepick --help";
    }
  }
  return {};
}

// One real from argument k by a free-format read of its 80-character text.
// A report on it is followed by a line naming the argument.
double numeric_argument(int k) {
  const ReportHint hint(argument_hint(k));
  double value = 0.0;
  velko::read_list_text(velko::argument_text(k, kArgumentLength), {&value},
                        velko::Handled::Nothing);
  return value;
}

// A text argument read with a single A edit into a 60-character name: the
// first 60 characters of the argument's buffer.
std::string name_argument(int k) {
  return velko::fixed_text(velko::argument_text(k, kArgumentLength), kNameLength);
}

}  // namespace

void show_usage_without_arguments(int argc) {
  if (argc < 2) std::fwrite(kUsageText.data(), 1, kUsageText.size(), stderr);
}

RunParameters decode_run_parameters() {
  RunParameters parameters;
  parameters.w1 = numeric_argument(1);
  parameters.w2 = numeric_argument(2);
  parameters.cod = numeric_argument(3);
  parameters.fnmodel = name_argument(4);
  parameters.xi = numeric_argument(5);
  parameters.abund = numeric_argument(6);
  parameters.ewmin = numeric_argument(7);
  parameters.fnoutput = name_argument(8);
  return parameters;
}

void echo_run_parameters(const RunParameters& parameters) {
  using velko::console::write_formatted;
  write_formatted(velko::Layout(texts::kEchoW1), {parameters.w1});
  write_formatted(velko::Layout(texts::kEchoW2), {parameters.w2});
  write_formatted(velko::Layout(texts::kEchoCod), {parameters.cod});
  write_formatted(velko::Layout(texts::kEchoModel), {std::string_view(parameters.fnmodel)});
  write_formatted(velko::Layout(texts::kEchoXi), {parameters.xi});
  write_formatted(velko::Layout(texts::kEchoAbund), {parameters.abund});
  write_formatted(velko::Layout(texts::kEchoOutput), {std::string_view(parameters.fnoutput)});
}

}  // namespace wavepick
