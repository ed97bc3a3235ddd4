#pragma once
// The check that runs before a print form opens (and before the batch printer prints):
// the configured CSV file exists, holds a record, and has enough fields in its first
// record for every configured column. It needs no widgets.

#include "app/AppSettings.h"
#include "app/CsvSource.h"

#include <QString>
#include <QStringList>

struct ReadinessResult {
    enum Status {
        Ready,
        FileMissing,  // no file configured, or none at the path
        Unreadable,   // the file exists but cannot be read (or is too large)
        Empty,        // no line, or only the header line
        BadPostNo,    // column settings in the order they are checked
        BadAdr1No,
        BadAdr2No,
        BadMei1No,
        BadMei2No,
        BadCbarNo,
        BadKeisNo,
        BadRen1No,     // then the joint names, each followed by its honorific column
        BadRen1KeisNo,
        BadRen2No,
        BadRen2KeisNo,
        BadRen3No,
        BadRen3KeisNo,
    };
    Status status = Ready;
    QString message; // the two-line warning (lines joined by CR LF); empty when ready

    bool ready() const { return status == Ready; }
};

// Runs the check without showing anything.
ReadinessResult CheckReadiness(const CsvColumnMap& csv);
// The same check on the file's records as ReadCsvLines gave them with CsvFormat::of(csv)
// (for a caller that goes on to use them).
ReadinessResult CheckReadiness(const CsvColumnMap& csv, const QStringList& lines, const CsvReadInfo& info);

// Runs the check on AppSettings::instance().csv; when it fails, shows its warning
// through Messages::current() and returns false.
bool ReadinessCheck();
bool ReadinessCheck(const CsvColumnMap& csv);
