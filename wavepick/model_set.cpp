#include "model_set.h"

#include "console.h"
#include "diagnostics.h"
#include "directory_keys.h"
#include "outcome.h"
#include "program_end.h"
#include "lablen.h"
#include "process_env.h"
#include "record_reader.h"
#include "suite_program.h"
#include "texts.h"

namespace wavepick {
namespace {

constexpr std::size_t kModelNameLength = 17;

struct Range {
  std::int32_t low;
  std::int32_t high;
};
constexpr Range kTemperatureRange{3500, 50000};
constexpr Range kGravityRange{0, 500};
constexpr Range kMetallicityRange{-500, 100};
constexpr Range kMixingRange{0, 1};

// One integer from a field by a free-format read; false for a field that is
// not an integer or is all blank (its read meets the end of the text).
bool read_field(const std::string& field, std::int32_t& value) {
  return velko::read_list_text(field, {&value}, velko::Handled::Errors) ==
         velko::Outcome::Done;
}

bool read_and_check(const std::string& field, std::int32_t& value, Range range) {
  std::int32_t read = kFieldNotRead;
  if (!read_field(field, read)) return false;
  value = read;
  return range.low <= value && value <= range.high;
}

}  // namespace

bool parse_model_name(std::string_view fnmodel, ModelName& name) {
  int first = 0;
  int last = 0;
  velko::LABLEN(fnmodel, static_cast<int>(fnmodel.size()), first, last);
  if (last - first + 1 != static_cast<int>(kModelNameLength)) return false;
  // The letters are located from the first non-blank character.
  const std::string_view letters = fnmodel.substr(static_cast<std::size_t>(first - 1));
  if (letters[0] != 't' || letters[6] != 'g' || letters[10] != 'x' || letters[15] != 'm') {
    return false;
  }
  // The fields are read from the first character of the name, blank or not:
  // a name led by blanks has a letter or blanks in its t field, so it is
  // refused as unsupported instead of being made under another name. A
  // 17-character name within the 60 always leaves positions 2 to 17 there.
  const std::string_view fields = fnmodel;
  name.t_field = std::string(fields.substr(1, 5));
  name.g_field = std::string(fields.substr(7, 3));
  name.x_field = std::string(fields.substr(11, 4));
  name.m_field = std::string(fields.substr(16, 1));
  return true;
}

bool model_parameters_supported(ModelName& name) {
  return read_and_check(name.t_field, name.idumt, kTemperatureRange) &&
         read_and_check(name.g_field, name.idumg, kGravityRange) &&
         read_and_check(name.x_field, name.idumx, kMetallicityRange) &&
         read_and_check(name.m_field, name.idumm, kMixingRange);
}

std::vector<ModelProgramRun> model_program_runs(const ModelName& name,
                                                std::string_view directory) {
  // log g and the metallicity are handed over with a decimal point: 444 gives
  // 4.44, +020 gives +0.20.
  const std::string g_text = name.g_field.substr(0, 1) + "." + name.g_field.substr(1, 2);
  const std::string x_text = name.x_field.substr(0, 2) + "." + name.x_field.substr(2, 2);
  const std::string dir(directory);
  auto run = [&](const char* program, std::vector<std::string> arguments) {
    ModelProgramRun r;
    r.program = dir + "/" + program;
    r.command_line = r.program;
    for (const std::string& a : arguments) r.command_line += " " + a;
    r.arguments = std::move(arguments);
    return r;
  };
  return {
      run("tolmar", {name.t_field, g_text, x_text}),
      run("vessik", {name.m_field}),
      run("quorra", {name.t_field, g_text, x_text, name.m_field}),
  };
}

void MODELSET(const RunParameters& parameters) {
  const std::string_view fnmodel = parameters.fnmodel;
  ModelName name;
  if (!parse_model_name(fnmodel, name)) {
    // Not made, and not found: "width" would get no model at all.
    if (!velko::trimmed(fnmodel).empty() && !velko::file_exists(fnmodel)) {
      tell("model file \"" + std::string(velko::trimmed(fnmodel)) +
           "\" does not exist, and its name is not of the grid form t05750g444x+020m0 "
           "that the model programs make: \"width\" gets no model");
    }
    return;
  }
  if (velko::file_exists(fnmodel)) return;

  if (!model_parameters_supported(name)) {
    velko::console::write_list(
        {texts::kModelParameters, name.idumt, name.idumg, name.idumx, name.idumm});
    velko::console::write_list({texts::kModelUnsupported});
    velko::stop_program(velko::kExitStopFailure);
  }

  const std::string directory(velko::trimmed(RETENV("VLK_DIR")));
  // Each program is started with an argument vector, never through a shell,
  // and waited for. One that cannot start or fails is named on standard
  // error; the next runs in any case, and only the model file left behind
  // decides the outcome.
  bool all_ran = true;
  for (const ModelProgramRun& run : model_program_runs(name, directory)) {
    all_ran = run_suite_program(run.program, run.arguments, run.command_line) && all_ran;
  }
  if (!all_ran && !velko_is_set()) tell(texts::kVelkoNotSet);

  if (!velko::file_exists(fnmodel)) {
    velko::console::write_list({texts::kModelNotCreated, fnmodel});
    velko::console::write_list({texts::kModelStopped});
    velko::stop_program(velko::kExitStopFailure);
  }
}

}  // namespace wavepick
