// Model-atmosphere set-up (MODELSET): makes sure the model file named by
// fnmodel exists, running the suite's model programs tolmar, vessik and quorra
// for a missing model of the grid form "t05750g444x+020m0".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "run_parameters.h"

namespace wavepick {

inline constexpr std::int32_t kFieldNotRead = -999;

// The four fields of a grid model name, as texts, and their integer values
// (kFieldNotRead for a field not read or not readable).
struct ModelName {
  std::string t_field;  // 5 characters, effective temperature
  std::string g_field;  // 3 characters, log g times 100
  std::string x_field;  // 4 characters, signed metallicity times 100
  std::string m_field;  // 1 character
  std::int32_t idumt = kFieldNotRead;
  std::int32_t idumg = kFieldNotRead;
  std::int32_t idumx = kFieldNotRead;
  std::int32_t idumm = kFieldNotRead;
};

// True when the 60-character name has the grid form: 17 non-blank-bounded
// characters with "t", "g", "x", "m" at places 1, 7, 11 and 16 of them. The
// fields are taken from positions 2-6, 8-10, 12-15 and 17 of the name itself
// (the same places when the name starts with its "t"); they are not checked.
bool parse_model_name(std::string_view fnmodel, ModelName& name);

// Reads the fields in the order t, g, x, m and checks each right after reading
// it; returns false at the first field that is not an integer or is outside
// the grid (the later fields then stay kFieldNotRead).
bool model_parameters_supported(ModelName& name);

// One run of a suite program: the program path, its arguments, and the
// command line as users know it (for messages).
struct ModelProgramRun {
  std::string program;
  std::vector<std::string> arguments;
  std::string command_line;
};

// The three runs tolmar, vessik, quorra for a name, the programs in directory.
std::vector<ModelProgramRun> model_program_runs(const ModelName& name, std::string_view directory);

// The stage: returns when the model file exists (or the name is not of the
// grid form); otherwise stops the program with its report (status 1).
void MODELSET(const RunParameters& parameters);

}  // namespace wavepick
