// Kept for code written against the former single header of outcomes, reports
// and program ends; new code includes the header of the part it uses.
#pragma once

#include "outcome.h"
#include "program_end.h"
#include "report.h"
