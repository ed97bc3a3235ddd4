#pragma once
// The CSV address list: a text read whole into records, and the field functions through
// which every form takes fields out of a record.
//
// The text is code page 932 or UTF-8, as the settings say; with "自動判定" the bytes decide
// (CheckCsvEncoding below). The text ends at the first NUL byte.
//
// Without quoting (the default, and the only way before there was a choice) a record is
// one line: lines are cut at CR LF, a lone CR and a lone LF; a last line without an end is
// a line; an end at the very end adds no empty line. Fields are split at every comma, and
// the text delimiter is only removed from the two ends of a field.
//
// With quoting ("引用符内のカンマを区切りとしない"), a field that begins with the quote
// character (CsvFormat::quoteChar: the text delimiter, or '"' when none is set) runs to
// its closing quote and may hold commas and line breaks, so one record may span several
// lines; a doubled quote inside stands for one. Text after the closing quote up to the
// next comma is kept as it is. A quote that is never closed runs to the end of the file.
// A field is printed on one line, so each line break inside it reads as one blank.

#include "app/AppSettings.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

// How a list is read; CsvFormat::of takes it from the settings.
struct CsvFormat {
    CsvEncoding encoding = CsvEncoding::Auto;
    bool quoted = false;
    QString textDelimiter;

    static CsvFormat of(const CsvColumnMap& map);
    // The character that opens and closes a quoted field: the delimiter when it is one
    // ASCII character other than the comma, otherwise '"'.
    QChar quoteChar() const;
};

struct CsvReadInfo {
    enum Status {
        Ok,
        Missing,    // no file at the path (or not a regular file)
        Unreadable, // the file could not be opened or read
        TooLarge,   // larger than kMaxCsvBytes
    };
    Status status = Ok;
    CsvEncoding encoding = CsvEncoding::ShiftJis; // how the text was read (never Auto)
    qsizetype badBytes = 0;     // bytes that are not valid text in that encoding, each read as U+FFFD
    int firstBadLine = -1;      // 0-based record of the first one
};

// Files beyond this size are refused rather than exhausting memory.
constexpr qint64 kMaxCsvBytes = qint64(512) * 1024 * 1024;

// What the automatic choice saw in the bytes and what it decided.
//
// A UTF-8 byte-order mark means UTF-8. Otherwise the bytes are read as UTF-8 and the text
// is UTF-8 when that reading has at least one multi-byte character, bad bytes only where a
// damaged file has them (at most two, or one per thousand multi-byte characters), and more
// characters that belong in Japanese text (kana, kanji, full-width forms, Japanese
// punctuation and symbols; an accented Latin letter beside a Latin letter) than
// characters that do not. Anything else is code page 932, as lists have always been read:
// half-width katakana in code page 932 can form valid UTF-8 (ﾃｱ is C3 B1, "ñ"), but it
// reads as stray Latin letters, never as Japanese.
struct CsvEncodingCheck {
    bool byteOrderMark = false;
    qsizetype multiByte = 0; // valid UTF-8 characters of two or more bytes
    qsizetype badBytes = 0;  // bytes that are not valid UTF-8 (the scan may stop early once
                             // they rule UTF-8 out)
    qsizetype japanese = 0;  // multi-byte characters that belong in Japanese text
    qsizetype other = 0;     // multi-byte characters that do not
    CsvEncoding decision = CsvEncoding::ShiftJis;
};
CsvEncodingCheck CheckCsvEncoding(QByteArrayView bytes);
// The encoding a format reads bytes with: its own choice, or the automatic one.
CsvEncoding DecideCsvEncoding(QByteArrayView bytes, CsvEncoding choice);

// The records of a file, read as the format says. Missing, unreadable and oversized files
// give no records; info says why, and how the text was read. Every place that reads the
// list (the set-up dialog, the check before printing, both forms and tovalin-print) reads it
// through this function.
QStringList ReadCsvLines(const QString& path, const CsvFormat& format, CsvReadInfo* info = nullptr);
// The records of bytes already in memory.
QStringList SplitCsvLines(const QByteArray& bytes, const CsvFormat& format, CsvReadInfo* info = nullptr);
// The same with the default format: encoding decided from the bytes, no quoting.
QStringList ReadCsvLines(const QString& path, CsvReadInfo* info = nullptr);
QStringList SplitCsvLines(const QByteArray& bytes, CsvReadInfo* info = nullptr);

// The record lines: the records with the first dropped when the file has a header.
QStringList CsvRecordLines(const QStringList& lines, bool hasHeader);

// The number of fields of a record: 0 for an empty record; without quoting the number of
// commas plus 1.
int CsvFieldCount(QStringView line);
int CsvFieldCount(QStringView record, const CsvFormat& format);

// Field n (from 1) of a record; " " (one blank) when the record has no field n. Without
// quoting the delimiter is trimmed of blanks and control characters, only acts when one
// character remains, and is removed from the two ends of the field.
QString CsvField(QStringView line, int n, QStringView textDelimiter);
QString CsvField(QStringView record, int n, const CsvFormat& format);
// The same with the configured format (AppSettings::instance().csv).
QString CsvField(QStringView line, int n);

// CsvField for n = 1 .. CsvFieldCount(record), in one pass over the record.
QStringList CsvFields(QStringView line, QStringView textDelimiter);
QStringList CsvFields(QStringView record, const CsvFormat& format);

// The delimiter as the field functions use it: a single character, or empty for none.
QString EffectiveCsvDelimiter(QStringView textDelimiter);
