// Every console text and record layout of ironsift, in one place.
//
// The texts are the program's own words and are written exactly as they stand
// here, spelling included. Layouts are in the record layer's field notation.
#pragma once

#include <string_view>

namespace ironsift::texts {

// ---- start-up --------------------------------------------------------------

inline constexpr std::string_view kParamsFileName = "params.dat";
inline constexpr std::string_view kParamsInCurrentDir = "./params.dat";
inline constexpr const char* kModelDirVariable = "MOD_DIR";
// Followed by the count read and the count required.
inline constexpr std::string_view kBadLineCount = "mzx,MLN ";
inline constexpr std::string_view kBadRunMode = "Needed 2nd argument should be any of (i, c, w) !";
// Followed directly by the reference's ".abd" file name.
inline constexpr std::string_view kReferenceMissing = "R: why not exist ? --> ";

// ---- file name extensions --------------------------------------------------

inline constexpr std::string_view kWidthsExtension = ".wdt";
inline constexpr std::string_view kAbundanceExtension = ".abd";
inline constexpr std::string_view kObservedExtension = ".obs";
inline constexpr std::string_view kDeletedExtension = ".del";
// Joins the star name and the reference name in the observed list's name.
inline constexpr std::string_view kListNameJoin = "~";

// ---- threshold screening ---------------------------------------------------

inline constexpr std::string_view kThresholdPrompt =
    "ewcrt? (in mA) (just [Enter] --> infinity, no screening)";
inline constexpr std::string_view kThresholdInfinite = "EW threshould is set to infinity.";
inline constexpr std::string_view kThresholdSetLayout =
    "('OK, lines stronger than ', F8.1, ' mA are not used.')";
inline constexpr std::string_view kRejectedHeading = "Following lines will be rejected...";
inline constexpr std::string_view kNothingRejected = "(In this case, no lines deleted.)";

// One rejected line: label, line number, minus the mean, three pieces of the
// first measurement record, tag, count, and up to five widths.
inline constexpr std::string_view kRejectedLineLayout =
    "(A8, I4, F7.1, 1X, A21, 1X, A6, 1X, A7, 2X, A1, I4, 1X, 5F6.1)";
// Widths six to ten of a rejected line, on a further record, each under the
// column of the width five places before it.
inline constexpr std::string_view kRejectedMoreWidthsLayout = "(64X, 5F6.1)";
inline constexpr int kWidthsPerListingRecord = 5;

// Verdict labels (8 characters) and tags (1 character).
inline constexpr std::string_view kLabelExceed = "exceed  ";
inline constexpr std::string_view kLabelNoRefs = "no refs ";
inline constexpr std::string_view kLabelNoWidth = "no width";
inline constexpr std::string_view kTagAccepted = " ";
inline constexpr std::string_view kTagExceed = ">";
inline constexpr std::string_view kTagNoRefs = "#";
inline constexpr std::string_view kTagNoWidth = "-";

// ---- the update question ---------------------------------------------------

// "May I update " + list name + ".obs ?"
inline constexpr std::string_view kUpdateQuestionStart = "May I update ";
inline constexpr std::string_view kUpdateQuestionEnd = ".obs ?";
inline constexpr std::string_view kKeyPromptThresholdLayout =
    "('go->\"g\", retry other ewcrt ->\"r\", stop-> \"x\"')";
inline constexpr std::string_view kKeyPromptInteractiveLayout =
    "(' GO->\"g\", redo->\"r\",stop -> \"x\"')";
inline constexpr std::string_view kAborted = "Aborted and stopted!";
inline constexpr std::string_view kTryAgainInWindow = "OK, then try again in the graphics window...";
inline constexpr std::string_view kUpdateFinished = "file update finished !";

// Records of the observed line list and the deletion log. Layout 1 (threshold
// screening) carries the measurements; a line with more than six goes on with
// a continuation record of the same ten-column groups.
inline constexpr std::string_view kMeasuredLineLayout =
    "(I4, F7.1, 1X, A21, 1X, A6, 1X, A7, 2X, A1, I4, 1X, 6(F6.1, 1X, A3))";
// Layout 2 (interactive rejection): characters 5 to 33 of the ".abd" record.
inline constexpr std::string_view kAbundanceLineLayout = "(I4, F7.1, 1X, A29)";

// ---- unit numbers shown in the record layer's reports ----------------------

inline constexpr int kUnitParams = 10;
inline constexpr int kUnitReference = 11;
inline constexpr int kUnitWidths = 12;
inline constexpr int kUnitObserved = 13;
inline constexpr int kUnitDeleted = 14;

// ---- plot modes "w" and "c" ------------------------------------------------

// Followed directly by the star's ".abd" file name.
inline constexpr std::string_view kStarAbundanceMissing = "H: why not exist ? --> ";
// "<start><file name><end>" when the star's ".abd" cannot be plotted.
inline constexpr std::string_view kNoFeLinesStart = "No Fe I (26.00) or Fe II (26.01) line in ";
inline constexpr std::string_view kNoFeLinesEnd = ": nothing to plot.";
inline constexpr std::string_view kTooManyFe1Start = "More Fe I (26.00) lines in ";
inline constexpr std::string_view kTooManyFe1End = " than the 302 that the Fe I table holds.";
inline constexpr std::string_view kTooManyFe2Start = "More Fe II (26.01) lines in ";
inline constexpr std::string_view kTooManyFe2End = " than the 28 that the Fe II table holds.";
inline constexpr std::string_view kTooManyRecordsStart = "More than 999 records in ";
inline constexpr std::string_view kTooManyRecordsEnd =
    ": the lines after the 999th would be lost from the line list.";
inline constexpr std::string_view kFrameTooLargeStart = "Widths or abundances in ";
inline constexpr std::string_view kFrameTooLargeEnd = " are too large to plot.";

// Plot labels; "\fr" selects the roman font.
inline constexpr std::string_view kWidthAxisLabel = "\\frEquivalent width (mA)";
inline constexpr std::string_view kExcitationAxisLabel = "\\frExcitation potential (eV)";
inline constexpr std::string_view kAbundanceAxisLabel = "\\frFe Anundance";
// Followed directly by the trimmed star name.
inline constexpr std::string_view kWidthPlotTitle = "\\frA vs. W relation: ";
inline constexpr std::string_view kExcitationPlotTitle = "\\frA vs. chi relation: ";

// After the plot returns.
inline constexpr std::string_view kEscapedGraphics = "You have escaped from the graphics mode...";
inline constexpr std::string_view kRejectedListHeading =
    "List of manually rejected lines are as follows:";
// One rejected line: line number, minus the width, characters 5 to 33 of its record.
inline constexpr std::string_view kManualRejectedLineLayout = "(I4, F7.1, 1X, A29)";
inline constexpr std::string_view kManualRejectedCountLayout = "('(', I2, ' lines will be rejected)')";

inline constexpr int kUnitStarAbundance = 15;

// ---- standard error: further lines of a report or stop ---------------------

// After the end-of-file report for a parameter file that exists nowhere:
// "<start>(MOD_DIR is not set)" or "<start>(MOD_DIR=<value>)".
inline constexpr std::string_view kParamsNowhereStart =
    "  params.dat was found neither in the current directory nor in MOD_DIR ";
inline constexpr std::string_view kModDirNotSet = "(MOD_DIR is not set)";
// After "R: why not exist ? --> <reference>.abd" when argument 1 held a "/":
// "<start><argument><middle><star><and><reference><end>".
inline constexpr std::string_view kSlashNamesStart = "ironsift: the first argument \"";
inline constexpr std::string_view kSlashNamesMiddle = "\" names the star \"";
inline constexpr std::string_view kSlashNamesAnd = "\" and the reference star \"";
inline constexpr std::string_view kSlashNamesEnd =
    "\" (STAR/REFERENCE, both in the current directory); the \"/\" is not a folder: run "
    "ironsift in the star's folder.";
// Mode "i" with no ".wdt": "<file name><end>" as a warning.
inline constexpr std::string_view kWidthsCreatedEnd =
    " did not exist and was created empty: no line has a measurement (is the star name "
    "right?)";
// A star ".abd" with more than 999 records, none of the rest an Fe line:
// "<file name><end>" as a warning.
inline constexpr std::string_view kAbundanceRestNotRead =
    ": only the first 999 records are read; the rest hold no Fe I or Fe II line and are not "
    "read";

// ---- standard error: what the plot modes tell beside the console -----------

// "<start><device><end>" or, for a window device without DISPLAY,
// "<start><device><no display><end>", then the program stops with status 1.
inline constexpr std::string_view kDeviceNotOpenedStart =
    "ironsift: cannot open the graphics device \"";
inline constexpr std::string_view kDeviceNoDisplay = "\" (DISPLAY is not set)";
inline constexpr std::string_view kDeviceNotOpenedQuoteEnd = "\"";
inline constexpr std::string_view kDeviceNotOpenedEnd =
    ". Set DISPLAY to an X display for the plot window, or PGPLOT_DEV=file.png/png to draw "
    "the plot into a picture file. Nothing was written.";
// When a window with a cursor opens.
inline constexpr std::string_view kButtonsHelp =
    "In the plot: the left button rejects the lines under the cursor (within 2.0 on the x axis "
    "and 0.02 in abundance), the middle button takes rejected ones back, a click outside the "
    "frame returns to the console; the middle button outside the frame quits without saving.";
// One line per line whose use flag a click changed:
// "rejected: line 12, Fe I, 4531.620 A, W = 80.0 mA, A = 7.200"; the
// wavelength comes from the line table of params.dat.
inline constexpr std::string_view kLineRejected = "rejected";
inline constexpr std::string_view kLineRestored = "restored";
inline constexpr std::string_view kWavelengthNotInTable = "wavelength not in params.dat";

}  // namespace ironsift::texts
