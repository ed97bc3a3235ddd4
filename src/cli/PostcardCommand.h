#pragma once
// tovalin-print postcard: the postcard form's print run without a window. The snapshot is
// built from POSTCSV.INI as the form would load it, and the pages are drawn by the same
// page routine (DrawPostcardPage) through the same engine.

#include "cli/CliConsole.h"
#include "cli/CliOptions.h"
#include "postcard/PostcardSnapshot.h"

class BatchJob;

// The snapshot of the run: the records the job chose, with the honorific of the command line.
PostcardSnapshot BatchPostcardSnapshot(const BatchJob& job);

// Runs the command; returns the exit status.
int RunPostcardCommand(const CliOptions& options, CliConsole& console);
