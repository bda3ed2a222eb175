// Every console text, record layout and file name of wavepick, in one place,
// so that they can be compared with what users and the suite's programs see.
#pragma once

#include <string_view>

namespace wavepick::texts {

// ---- Files in the current working directory -------------------------------
inline constexpr std::string_view kLinesFile = "lines.tmp";
inline constexpr std::string_view kWidthInputFile = "winput.in";
inline constexpr std::string_view kWidthFileList = "widfiles.lst";
inline constexpr std::string_view kWidthResultFile = "ewtemp.csv";

// Unit numbers shown in the record layer's reports.
inline constexpr int kUnitGfFile = 11;
inline constexpr int kUnitLinesFile = 12;
inline constexpr int kUnitModelFile = 13;
inline constexpr int kUnitWidthInput = 14;
inline constexpr int kUnitWidthFileList = 15;
inline constexpr int kUnitWidthResult = 16;
inline constexpr int kUnitResultFile = 17;

// ---- Echo of the run parameters ------------------------------------------
inline constexpr std::string_view kEchoW1 = "('w1:', F9.3)";
inline constexpr std::string_view kEchoW2 = "('w2:', F9.3)";
inline constexpr std::string_view kEchoCod = "('cod:', F6.2)";
inline constexpr std::string_view kEchoModel = "('fnmodel:', A60)";
inline constexpr std::string_view kEchoXi = "('xi:', F5.2)";
inline constexpr std::string_view kEchoAbund = "('abund:', F5.2)";
inline constexpr std::string_view kEchoOutput = "('fnoutput:', A60)";

// ---- Directory keys -------------------------------------------------------
inline constexpr std::string_view kUnknownKey = "I do not understand ";

// ---- Line set -------------------------------------------------------------
inline constexpr std::string_view kRangeStartFailure = "!! wla1=";
inline constexpr std::string_view kRangeEndFailure = "!! wla2=";
// The upper bound of a gf file is the number in characters 3 to 7 of its name.
inline constexpr std::string_view kGfBoundLayout = "(2X, F5.0, 2X)";
// One "lines.tmp" record; log gf takes two decimals when it is -10 or less.
inline constexpr std::string_view kLineRecord = "(F6.2, F9.3, F6.3, F6.3, 3F6.2, F7.1)";
inline constexpr std::string_view kLineRecordLowGf = "(F6.2, F9.3, F6.3, F6.2, 3F6.2, F7.1)";

// ---- Model set-up -------------------------------------------------------
inline constexpr std::string_view kModelParameters = "idumt,idumg,idumx,idumm:";
inline constexpr std::string_view kModelUnsupported = "Sorry, specified model parameters unsupported!";
inline constexpr std::string_view kModelNotCreated = "failed to create ";
inline constexpr std::string_view kModelStopped = "program stopped (loexthe) -->!$?";

// ---- Equivalent-width run -------------------------------------------------
inline constexpr std::string_view kTooManyLines = "Too many lines --> truncated at 9999th";
inline constexpr std::string_view kVturKeyword = "VTUR";
inline constexpr std::string_view kVturRecord = "(I5, F5.2)";
inline constexpr std::string_view kCurvKeyword = "CURV";
inline constexpr std::string_view kCurvRecord = "(I5, 2F8.2)";
inline constexpr std::string_view kLineCountRecord = "('LINE', I4)";
inline constexpr std::string_view kEndKeyword = "END";
inline constexpr std::string_view kStopKeyword = "STOP";
inline constexpr std::string_view kWidthFileListRecords[] = {
    "f  5 winput.in  ", "f  6            ", "f 13            ",
    "f 20            ", "f 22            ", "f 44 ewtemp.csv ",
};
inline constexpr std::string_view kWidthCommand = "width";
// One result record of 100 characters; value 5 takes two decimals at -10 or less.
inline constexpr std::string_view kResultRecord =
    "(F6.2, F9.3, F6.3, F6.3, 3F6.2, F7.1, ' (v=', F5.2, ' A=', F6.2, ') ', 8X, A20)";
inline constexpr std::string_view kResultRecordLowGf =
    "(F6.2, F9.3, F6.3, F6.2, 3F6.2, F7.1, ' (v=', F5.2, ' A=', F6.2, ') ', 8X, A20)";
inline constexpr std::string_view kSummaryTotal = "('n_total =', I4)";
inline constexpr std::string_view kSummarySelected = "('nselect =', I4)";
inline constexpr std::string_view kSummaryDiscarded = "('ndiscard=', I4)";

// ---- wavepick's own messages (standard error) -----------------------------
inline constexpr std::string_view kDiagnosticPrefix = "wavepick: ";
// After a gf file or a model program that could not be found.
inline constexpr std::string_view kVelkoNotSet =
    "VELKO is not set: it must hold the suite's home directory, the one with kbgfdos/ "
    "(the line list GF0010.10 ... GFEND.10) and exefiles/ (tolmar, vessik, quorra)";
// After the reason why no candidate line was found.
inline constexpr std::string_view kRangeUnit =
    "W1 and W2 are in \u00e5ngstr\u00f6m: 5000 \u00c5 is 500 nm";

}  // namespace wavepick::texts
