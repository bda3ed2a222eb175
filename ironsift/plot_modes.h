// Run modes "w" and "c", the plot modes: the star's Fe lines in an abundance
// plot, rejected and restored with the cursor, then listed and written back on
// request.
#pragma once

#include <string>
#include <string_view>

#include "abundance_plot.h"
#include "ironsift_state.h"
#include "plot_device.h"

namespace ironsift {

// Writes "You have escaped from the graphics mode...", the heading, one record
// per rejected Fe I and then Fe II line (line number, minus the absolute
// width, characters 5 to 33 of its record) and "(nn lines will be rejected)".
// Returns the number of rejected lines.
int list_rejected_lines(const FeTables& tables);

// The device the plots open: the environment variable PGPLOT_DEV when it is
// set and not blank (e.g. "/png" or "HD123_w.png/png"), otherwise the X11
// window "/xw".
std::string plot_device_name();

// The message on standard error when the plot device could not be opened:
// the device's name, the reason when it is a window and DISPLAY is not set,
// and what to do.
std::string device_failure_message(std::string_view device_name, bool display_set);

// One line on standard error for a line whose use flag a click changed:
// rejected or restored, line number, Fe I or Fe II, wavelength from the line
// table of params.dat (where the line number is in it), width and abundance.
std::string flag_change_line(const FeLine& line, const FeSpecies& species,
                             const IronsiftState& state);

// One call of the plot. "D" outside the frame ends the program with status 0,
// nothing written; a device that did not open ends it with status 1 after
// device_failure_message, nothing written.
void show_plot_or_stop(AbundancePlot& plot, PlotDevice& device, IronsiftState& state,
                       const PlotFrame& frame);

// Loads the star's Fe line tables from its ".abd", shows the plot of the run
// mode (abundance against equivalent width for "w", against excitation
// potential for "c"), lists the rejected lines and asks the update question;
// "r" shows the same plot again with the choices made so far. The plot and its
// device live here for the whole run. Does not return: the program ends at the
// update, at "x", or from the plot.
[[noreturn]] void run_plot_mode(IronsiftState& state);

}  // namespace ironsift
