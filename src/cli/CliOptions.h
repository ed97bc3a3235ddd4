#pragma once
// The command line of tovalin-print:
//
//     tovalin-print postcard [--settings DIR] [--output FILE.pdf | --printer NAME]
//                            [--records LIST | --record N] [--all] [--honorific TEXT] [--strict]
//                            [--encoding auto|sjis|utf8]
//     tovalin-print label [--settings DIR] [--output FILE.pdf | --printer NAME]
//                         [--records LIST] [--all] [--sheet "MAKER PART"] [--start-row R]
//                         [--start-column C] [--honorific TEXT] [--no-postal-mark] [--strict]
//                         [--encoding auto|sjis|utf8]
//     tovalin-print --help | --version
//
// One sub-command names the print run; the options are shared by the runs that accept them
// (the table in CliOptions.cpp says which run takes which option, so a new run such as
// "label" adds its name and its own options there).

#include "app/AppSettings.h"

#include <QString>
#include <QStringList>

struct CliOptions {
    QString command;        // "postcard" or "label"
    QString settingsDir;    // --settings: the folder of POSTCSV.INI; empty: the program's own
    QString output;         // --output: a PDF file instead of a printer
    QString printer;        // --printer: a printer queue by name
    int record = 0;         // --record: only this record (1-based), as --records N; 0: not given
    QString records;        // --records: record ranges ("1-36, 40, 45-"); empty: not given
    bool all = false;       // --all: the selection column of the settings is not applied
    bool honorificGiven = false;
    QString honorific;      // --honorific: a fixed honorific instead of the CSV column
    int startRow = 1;       // --start-row: the first label of the first sheet (1-based)
    int startColumn = 1;    // --start-column
    bool postalMark = true; // cleared by --no-postal-mark: no 〒 before the recipient postal code
    QString sheet;          // --sheet: a label sheet by product name ("MAKER PART") for this run
    bool strict = false;    // --strict: a text that does not fit its field stops the run (nothing printed)
    bool encodingGiven = false;
    CsvEncoding encoding = CsvEncoding::Auto; // --encoding: how the address list is read, for this run
    bool help = false;      // --help / -h
    bool version = false;   // --version
};

struct CliParseResult {
    bool ok = false;
    CliOptions options;     // as far as it was read (the command is known when it was valid)
    QString error;          // what is wrong, for the user (Japanese); empty when ok
};

// Parses the arguments after the program name. "--name value" and "--name=value" are both
// accepted; an option given twice, an unknown option, a missing value, a stray argument,
// --output together with --printer, --record together with --records, a record number
// that is not a positive whole number, or a record list that cannot be read are errors.
CliParseResult ParseCliArguments(const QStringList& arguments);

// The usage text (several lines, ending in a newline): of one run ("postcard", "label"), or
// of every run when `command` is empty.
QString CliUsage(const QString& command = QString());

// "tovalin-print 1.0"
QString CliVersion();

// The runs tovalin-print knows.
QStringList CliCommands();
