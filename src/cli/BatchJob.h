#pragma once
// The part of a tovalin-print run that every kind of print shares: reading POSTCSV.INI from
// the settings folder as the desktop program would (relative file names taken from that
// folder), the readiness check and the record lines, warnings about faces and pictures,
// choosing where the pages go (a PDF file, a named printer, or the form's own printer
// file), and running the preview engine's print job with progress and Ctrl+C.
//
// A run: load(), build the run's snapshot from settings() and records(), then print() it.

#include "app/AppSettings.h"
#include "app/RecordChoice.h"
#include "cli/CliConsole.h"
#include "cli/CliOptions.h"
#include "layout/FieldTexts.h"
#include "preview/PrintRun.h"
#include "preview/TplPrev.h"

#include <QString>
#include <QStringList>
#include <memory>

class TplSetPrinter;
struct LayoutOpening;

namespace ExitCode {
constexpr int Ok = 0;
constexpr int Failure = 1;  // anything that is not the user's input: a printer, a file write
constexpr int BadInput = 2; // bad arguments, settings or address list
} // namespace ExitCode

class BatchJob {
public:
    BatchJob(const CliOptions& options, CliConsole& console);
    ~BatchJob();

    // Reads the settings and the address list. ExitCode::Ok, or the code of the failure
    // after telling the user why.
    int load();

    AppSettings& settings() { return m_settings; }
    const AppSettings& settings() const { return m_settings; }
    const QStringList& records() const { return m_records; }
    QString settingsDirectory() const { return m_dir; }

    // The honorific: the CSV column ("登録されている敬称を使用"), or --honorific.
    HonorificChoice honorific() const;
    // Decides the records of the run (choice()): --records (or --record N), and the
    // selection column of the settings unless --all; a record must pass both. A range beyond
    // the list is cut to it with a note. ExitCode::Ok, or ExitCode::BadInput after saying why
    // nothing is chosen.
    int chooseRecords();
    // Every record until chooseRecords() has decided.
    const RecordChoice& choice() const { return m_choice; }

    // Warnings (the run goes on): faces of visible fields that are not installed, and a
    // picture file that is named but missing (the card is printed without it).
    void warnAboutFaces(const FieldStyles& fields) const;
    void warnAboutPicture(const ImageBox& picture) const;

    // The check before printing (PrintRun::checkBeforePrinting: a line for each text that does
    // not fit, at most 20, then "ほか N 件"; the customer barcodes' findings with their records)
    // on standard error. ExitCode::Ok to go on and print; with --strict any finding ends the
    // run with ExitCode::BadInput instead.
    int reportCheck(const PrintRun& run) const;

    // What opening the stored layout put right, told as the form tells it (one message).
    void tellOpening(const LayoutOpening& opening) const;

    // Chooses the destination (a PDF of the run's paper, a named printer with that paper, or
    // the printer of the run's printer file in the settings folder) and prints every page.
    int print(TplPrev& engine, const PrintRun& run);

    // The file name of the settings file and a file name of the settings resolved against the
    // settings folder (blank names stay as they are).
    static QString settingsFileName() { return QStringLiteral("POSTCSV.INI"); }
    static QString resolveAgainst(const QString& dir, const QString& fileName);

private:
    int choosePrinter(const QString& printerComponent, const RunPaper& paper);

    const CliOptions& m_options;
    CliConsole& m_console;
    QString m_dir;
    AppSettings m_settings;
    QStringList m_records;
    RecordChoice m_choice;
    std::unique_ptr<TplSetPrinter> m_printer;
};
