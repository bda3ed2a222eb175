#include "run_parameters.h"

#include "console.h"
#include "layout.h"
#include "lablen.h"
#include "process_env.h"
#include "record_reader.h"
#include "texts.h"

namespace wavepick {
namespace {

// One real from argument k by a free-format read of its 80-character text.
double numeric_argument(int k) {
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
