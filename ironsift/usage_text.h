// What "ironsift --help" prints.
#pragma once

#include <string_view>

namespace ironsift {

inline constexpr std::string_view kUsageText =
    R"(Usage: ironsift STAR[/REFERENCE] MODE
       ironsift --help | --version

Screens the Fe I and Fe II lines of STAR and rewrites its observed line list.
  MODE i  rejects the lines whose mean equivalent width in STAR.wdt reaches a
          threshold typed at the console, and with /REFERENCE the lines that
          REFERENCE.abd has no width for
  MODE w  rejects and restores lines with the mouse in a plot of abundance
          against equivalent width (STAR.abd)
  MODE c  the same, against excitation potential
The line table params.dat is read from the current directory, or else from
the directory in MOD_DIR. After the answer "g" the kept lines go to STAR.obs
(STAR~REFERENCE.obs in mode i) and the rejected ones to STAR.del.
Plots open the PGPLOT device in PGPLOT_DEV, or the X window /xw.
In the plot: left button rejects, middle button restores, a click outside
the frame leaves, the middle button outside quits without writing.
Exit status: 0 normal end or the user's stop, 1 a stop for a failure,
2 a file that could not be opened, read or written.
See ironsift(1).
)";

}  // namespace ironsift
