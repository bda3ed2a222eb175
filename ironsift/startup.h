// Start-up of ironsift: the line table from "params.dat", the command-line
// arguments, the star and reference names, and the reference abundances.
#pragma once

#include <string>
#include <string_view>

#include "ironsift_state.h"

namespace ironsift {

// "./params.dat" when it exists; otherwise the trimmed value of MOD_DIR
// followed by "/params.dat" ("/params.dat" when MOD_DIR is unset).
std::string locate_parameter_file();

// The further line of the report when no parameter file exists at the path
// of locate_parameter_file(): "  params.dat was found neither in the current
// directory nor in MOD_DIR (MOD_DIR is not set)" or "(MOD_DIR=<value>)".
std::string params_nowhere_line();

// Reads the parameter file into state.line_table. A line count other than 330
// (or one that cannot be read) writes "mzx,MLN " with the count and 330 and
// stops with the failure status. A missing file or a short or malformed record
// ends the program with the record layer's report.
void load_line_table(const std::string& path, IronsiftState& state);

// Splits the first argument (40 characters) at its first "/" into star name
// and reference name, each with its LABLEN bounds.
void split_names(std::string_view first_argument, IronsiftState& state);

// Reads both arguments into the names and the run mode; a run mode other than
// "i", "w" or "c" writes "Needed 2nd argument ..." and stops with the failure
// status.
void read_arguments(IronsiftState& state);

// Loads the reference abundances when a reference is named: stops with
// "R: why not exist ? --> <name>.abd" when its file is missing, followed on
// standard error by a line saying how the first argument was split.
void load_reference_abundances(IronsiftState& state);

// All of the above, in order. When the parameter file exists nowhere, its
// end-of-file report gets the further line params_nowhere_line().
void start_up(IronsiftState& state);

}  // namespace ironsift
