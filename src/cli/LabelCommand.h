#pragma once
// tovalin-print label: the label form's print run without a window. The layout is read from
// POSTCSV.INI as the label form opens it, and the sheets are the same LabelRun's, as on
// paper: no cell outlines, the position adjustment applied.

#include "cli/CliConsole.h"
#include "cli/CliOptions.h"
#include "label/LabelSnapshot.h"

class BatchJob;

// The snapshot of the run: the records the job chose, from the start cell of the command
// line, with its honorific and recipient 〒 choice. `opening` receives what opening the stored
// layout put right (the sheet, boxes off the label).
LabelSnapshot BatchLabelSnapshot(const BatchJob& job, const CliOptions& options, LayoutOpening* opening = nullptr);

// ExitCode::Ok when the start cell lies on the sheet of the settings; otherwise the error is
// told and ExitCode::BadInput returned.
int CheckStartCell(const BatchJob& job, const CliOptions& options, CliConsole& console);

// --sheet: the sheet of the product named replaces the stored one for this run. ExitCode::Ok,
// or (an unknown or unusable name, no template files) the error told and ExitCode::BadInput.
int ApplySheetOption(BatchJob& job, const CliOptions& options, CliConsole& console);

// Runs the command; returns the exit status.
int RunLabelCommand(const CliOptions& options, CliConsole& console);
