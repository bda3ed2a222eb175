#include "report_hint.h"

#include <cstdio>
#include <utility>

#include "directory_keys.h"
#include "outcome.h"
#include "program_end.h"
#include "texts.h"

namespace wavepick {
namespace {

std::string g_hint;  // the further line in force; empty: none

// Runs after the report is written and the cleanup is done; the process then
// exits with the report's status.
void write_hint(int status) {
  if (status != velko::kExitRecordFailure || g_hint.empty()) return;
  std::fputs(g_hint.c_str(), stderr);
  std::fputc('\n', stderr);
  std::fflush(stderr);
}

}  // namespace

std::string velko_not_set_hint() {
  return velko_is_set() ? std::string() : "  " + std::string(texts::kVelkoNotSet);
}

void install_report_hints() { velko::set_program_end_handler(write_hint); }

ReportHint::ReportHint(std::string line) : previous_(std::exchange(g_hint, std::move(line))) {}

ReportHint::~ReportHint() { g_hint = std::move(previous_); }

}  // namespace wavepick
