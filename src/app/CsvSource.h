#pragma once
// The CSV address list: a code page 932 text read whole into lines, and the two field
// functions through which every form takes fields out of a line.
//
// Lines are cut at CR LF, a lone CR and a lone LF; a last line without an end is a line;
// an end at the very end adds no empty line; the text ends at the first NUL byte. There
// is no quoting grammar: fields are split at every comma, and the text delimiter is only
// removed from the two ends of a field.

#include <QString>
#include <QStringList>
#include <QStringView>

struct CsvReadInfo {
    enum Status {
        Ok,
        Missing,    // no file at the path (or not a regular file)
        Unreadable, // the file could not be opened or read
        TooLarge,   // larger than kMaxCsvBytes
    };
    Status status = Ok;
    qsizetype badBytes = 0;     // invalid code page 932 sequences, each read as U+FFFD
    int firstBadLine = -1;      // 0-based line of the first one
};

// Files beyond this size are refused rather than exhausting memory.
constexpr qint64 kMaxCsvBytes = qint64(512) * 1024 * 1024;

// The lines of a file. Missing, unreadable and oversized files give no lines; info says why.
QStringList ReadCsvLines(const QString& path, CsvReadInfo* info = nullptr);
// The lines of bytes already in memory.
QStringList SplitCsvLines(const QByteArray& bytes, CsvReadInfo* info = nullptr);

// The record lines: the lines with the first dropped when the file has a header.
QStringList CsvRecordLines(const QStringList& lines, bool hasHeader);

// 0 for an empty line, otherwise the number of commas plus 1.
int CsvFieldCount(QStringView line);

// Field n (from 1) of a line, with the delimiter removed from its ends; " " (one blank)
// when the line has no field n. The delimiter is trimmed of blanks and control
// characters and only acts when one character remains.
QString CsvField(QStringView line, int n, QStringView textDelimiter);
// The same with the configured delimiter (AppSettings::instance().csv.textDelimiter).
QString CsvField(QStringView line, int n);

// CsvField for n = 1 .. CsvFieldCount(line), in one pass over the line.
QStringList CsvFields(QStringView line, QStringView textDelimiter);

// The delimiter as the field functions use it: a single character, or empty for none.
QString EffectiveCsvDelimiter(QStringView textDelimiter);
