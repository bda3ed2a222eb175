// The update of the star's observed line list (".obs") and deletion log
// (".del") after a screening pass, and the one-key question that leads to it.
//
// "g" writes both files and ends the program; "r" returns to the screening;
// "x" ends the program without touching any file. Both files are put in place
// together: until the update has written them completely the old files stay
// as they were, and a failure to put either in place leaves both old ones.
// Runs that update the same files at the same time take turns.
#pragma once

#include <string>
#include <string_view>

#include "ironsift_state.h"
#include "threshold_screening.h"
#include "wdt_measurements.h"

namespace ironsift {

// The name of the observed line list of the threshold path: the trimmed star
// name, followed by "~" and the trimmed reference name when the reference
// file has data records.
std::string threshold_list_name(const IronsiftState& state);

// Writes "May I update <list name>.obs ?" and the key prompt, and reads keys
// (writing the prompt again after any other key) until "x", "g" or "r".
// Returns that key.
char ask_update_key(std::string_view list_name, std::string_view prompt_layout);

// The threshold path's files: <list name>.obs rewritten with records O1 of the
// accepted lines, <star>.del rewritten with records D1 of the rejected ones.
void write_threshold_update(const IronsiftState& state, const MeasurementTable& table,
                            const ScreeningResult& result);

// The interactive path's files: <star>.obs rewritten with records O2 of the Fe
// lines in use, records D2 of the rejected ones appended to <star>.del.
void write_interactive_update(const IronsiftState& state);

// The update question of the threshold path; returns only on "r".
void threshold_update_question(const IronsiftState& state, const MeasurementTable& table,
                               const ScreeningResult& result);

// The update question of the interactive path; returns only on "r", after
// writing "OK, then try again in the graphics window...".
void interactive_update_question(ironsift::IronsiftState& state);

}  // namespace ironsift
