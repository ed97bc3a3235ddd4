#pragma once
// tovalin-print postcard: the postcard form's print run without a window. The layout is
// read from POSTCSV.INI as the form opens it, and the pages are the same PostcardRun's.

#include "cli/CliConsole.h"
#include "cli/CliOptions.h"
#include "postcard/PostcardSnapshot.h"

class BatchJob;

// The snapshot of the run: the records the job chose, with the honorific of the command line.
// `opening` receives what opening the stored layout put right.
PostcardSnapshot BatchPostcardSnapshot(const BatchJob& job, LayoutOpening* opening = nullptr);

// Runs the command; returns the exit status.
int RunPostcardCommand(const CliOptions& options, CliConsole& console);
