#pragma once
// A private-profile (Windows INI) file, read and updated the way the Windows profile
// functions do it, with these rules:
//  - lines end at CR LF, a lone CR or a lone LF; the last line may lack an end;
//  - "[name]" starts a section; "key=value" is a key; other lines are kept but never
//    matched; section and key names match without regard to case; with duplicates the
//    first section of a name and the first key of a name in it win;
//  - a value is the text after the first "=" with surrounding blanks removed; a value of
//    two or more characters that starts and ends with the same quotation mark (' or ")
//    is read without them; at most 2047 bytes of a value are read;
//  - integers are decimal, optionally signed, or hexadecimal after "0x"/"0X"; an
//    unreadable integer gives the caller's default; reals use "." and read as 0 when
//    unreadable;
//  - a write replaces only that key's line, adds the key at the end of its section, or
//    adds the section at the end of the file; every other byte of the file stays as it
//    was (comments, garbage, order, line ends, bytes that are not valid text);
//  - the text is code page 932, or UTF-8 when the file starts with a UTF-8 byte-order
//    mark (the mark is kept).
// Writes change the image in memory; save() puts it on disk through a temporary file in
// the same directory that is renamed over the old one, so the file is never left
// half-written. A read-only file or directory makes save() fail.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVector>

class IniFile {
public:
    static constexpr int kMaxValueBytes = 2047;

    IniFile() = default;
    explicit IniFile(const QString& path) : m_path(path) {}

    // Reads the file. A missing file gives an empty image and true; an unreadable one
    // gives false.
    bool load();
    // Takes the image from bytes (no file involved).
    void setBytes(const QByteArray& bytes);
    // The file as it would be written.
    QByteArray bytes() const;

    // Writes the image to the path atomically. False when the file or its directory is
    // read-only or the write fails; the old file is then untouched.
    bool save() const;
    // Atomic replacement of any file with the given bytes, with the same rules as save().
    static bool writeFileAtomically(const QString& path, const QByteArray& bytes);
    // True when the path's file, or its directory for a new file, may not be written.
    static bool isReadOnlyPlace(const QString& path);

    QString path() const { return m_path; }

    bool hasSection(const QString& section) const;
    bool hasKey(const QString& section, const QString& key) const;

    QString readString(const QString& section, const QString& key, const QString& def) const;
    int readInteger(const QString& section, const QString& key, int def) const;
    bool readBool(const QString& section, const QString& key, bool def) const;
    double readFloat(const QString& section, const QString& key) const;

    // False when the value cannot be written in the file's encoding (a character code
    // page 932 has no code for): the image is then unchanged. Line breaks inside a value
    // are written as blanks, so a value can never add lines to the file.
    bool writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);
    void writeBool(const QString& section, const QString& key, bool value);
    void writeFloat(const QString& section, const QString& key, double value);
    // Removes the key (every line of it in the section) as WritePrivateProfileString with no
    // value does; the other lines stay as they are.
    void deleteKey(const QString& section, const QString& key);

    // The number parsers and writer used above, for callers that need the same rules.
    static bool parseInteger(const QString& text, int* value);
    static bool parseFloat(const QString& text, double* value);
    static QString formatFloat(double value);

private:
    struct Line {
        QByteArray raw; // the line's bytes without its end
        QByteArray eol; // "\r\n", "\r", "\n" or empty for a last line without end
        enum Kind { Other, Section, Key } kind = Other;
        QString name;   // section or key name as written (trimmed)
        QString value;  // key value as read (trimmed, quotes stripped, limited)
    };
    struct SectionRef {
        int headerLine = -1; // -1 for the lines before the first section
        int lastLine = -1;   // last line that belongs to it
    };

    void parse(const QByteArray& bytes);
    void parseLine(Line& line) const;
    void reindex();
    const Line* findKey(const QString& section, const QString& key) const;
    int findKeyLine(const QString& section, const QString& key) const;
    bool encodeText(const QString& text, QByteArray* out) const;
    QByteArray defaultEol() const;

    QString m_path;
    bool m_utf8 = false;
    QByteArray m_bom;
    QVector<Line> m_lines;
    QHash<QString, int> m_firstSection; // folded name -> header line index
};
