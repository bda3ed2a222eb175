// One wavepick run at a time in a directory. The scratch files of a run
// ("lines.tmp", "winput.in", "widfiles.lst", "ewtemp.csv", and the model
// programs' work files) have fixed names in the current directory, so two
// runs there at the same time would read each other's lines and results.
#pragma once

namespace wavepick {

// Takes an exclusive advisory lock (flock) on the current working directory
// and holds it until the process ends. When another run holds it, says so
// once on standard error and waits: runs queued by a batch script then run
// one after the other instead of failing. Where the directory cannot be
// locked (it cannot be opened, or its file system has no locks), that is
// told and the run goes on unlocked.
void lock_working_directory();

}  // namespace wavepick
