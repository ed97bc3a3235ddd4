#pragma once
// The in-memory image of POSTCSV.INI. One instance lives for the whole run
// (AppSettings::instance()); forms copy what they need when they open and write
// back only on a confirmed save.

#include <QString>
#include <array>

// Stored style of one layout field. Positions and lengths are layout pixels
// (0.37795 pixel per 0.1 mm) relative to the card's or label's top-left corner.
struct FieldStyle {
    QString fontName = QStringLiteral("ＭＳ ゴシック");
    int fontSize = 10;     // points
    bool tate = false;     // vertical writing
    bool bold = false;
    bool italic = false;
    int alignment = 0;     // 0 left (top), 1 centre, 2 right (bottom)
    bool post = false;     // drawn as postal-code digits
    bool postWaku = false; // sender postal box layout (postcard field 7 only)
    int top = 10;
    int left = 10;
    int width = 80;        // length along the writing direction
    bool visible = false;
    bool barcode = false;  // field 6 only: the column printed as a customer barcode
    // Japanese typesetting of the address and name fields (2-5, 8-11); keys written only
    // when not 0, so a layout that never used them saves unchanged.
    int kansuji = 0;       // KANSUJI: numbers of a vertical field, 0 as written, 1 一二三, 2 十百
    int hyphen = 0;        // HYPHEN: a hyphen between numbers, 0 vertical line, 1 "の"
    bool tcy = false;      // TCY: 縦中横 for two-digit numbers of a vertical field
    bool fit = false;      // FIT: shrink a text that does not fit, down to half the size

    bool operator==(const FieldStyle& o) const
    {
        return fontName == o.fontName && fontSize == o.fontSize && tate == o.tate
            && bold == o.bold && italic == o.italic && alignment == o.alignment
            && post == o.post && postWaku == o.postWaku && top == o.top
            && left == o.left && width == o.width && visible == o.visible
            && barcode == o.barcode && kansuji == o.kansuji && hyphen == o.hyphen && tcy == o.tcy
            && fit == o.fit;
    }
    bool operator!=(const FieldStyle& o) const { return !(*this == o); }
};

// Stamp picture of a layout; an empty path means no picture.
struct ImageBox {
    QString path;
    int top = 0;
    int left = 0;
    int width = 0;
    int height = 0;

    bool operator==(const ImageBox& o) const
    {
        return path == o.path && top == o.top && left == o.left && width == o.width
            && height == o.height;
    }
    bool operator!=(const ImageBox& o) const { return !(*this == o); }
};

// A4 label sheet geometry; lengths in 0.1 mm.
struct LabelSheet {
    int columns = 2;
    int rows = 6;
    int topMargin = 100;
    int bottomMargin = 100;
    int leftMargin = 80;
    int rightMargin = 80;
    int rowGap = 0;    // vertical gap between rows
    int columnGap = 0; // horizontal gap between columns

    bool operator==(const LabelSheet& o) const
    {
        return columns == o.columns && rows == o.rows && topMargin == o.topMargin
            && bottomMargin == o.bottomMargin && leftMargin == o.leftMargin
            && rightMargin == o.rightMargin && rowGap == o.rowGap && columnGap == o.columnGap;
    }
    bool operator!=(const LabelSheet& o) const { return !(*this == o); }
};

// Sender details, section [MOTO]. A missing key reads as one blank.
constexpr int kSenderJointNames = 2; // REN1, REN2
struct SenderInfo {
    QString postalCode = QStringLiteral(" ");
    QString address1 = QStringLiteral(" ");
    QString address2 = QStringLiteral(" ");
    QString name1 = QStringLiteral(" ");
    QString name2 = QStringLiteral(" ");
    QString tel = QStringLiteral(" ");
    QString fax = QStringLiteral(" ");
    QString mail = QStringLiteral(" ");
    QString url = QStringLiteral(" ");
    // Joint names signed with name 1 (REN1, REN2); a key is written only when not blank, so
    // a missing one reads as empty.
    std::array<QString, kSenderJointNames> jointNames;

    bool operator==(const SenderInfo& o) const
    {
        return postalCode == o.postalCode && address1 == o.address1 && address2 == o.address2
            && name1 == o.name1 && name2 == o.name2 && tel == o.tel && fax == o.fax
            && mail == o.mail && url == o.url && jointNames == o.jointNames;
    }
    bool operator!=(const SenderInfo& o) const { return !(*this == o); }
};

// Character encoding of the address list ([POSTCSV] CSVCODE). Auto decides from the
// bytes (see CsvSource.h); the file holds the key only when it is not Auto.
enum class CsvEncoding { Auto = 0, ShiftJis = 1, Utf8 = 2 };

// CSV source and column mapping, section [POSTCSV].
// Column numbers count from 1; 0 = no column ("対象項目無し"), -1 = never set.
constexpr int kJointNameColumns = 3; // 連名１ .. 連名３
struct CsvColumnMap {
    QString fileName;
    QString textDelimiter;
    int postNo = -1;
    int adr1No = -1;
    int adr2No = -1;
    int mei1No = -1;
    int mei2No = -1;
    int cbarNo = -1;
    int keisNo = -1;
    bool hasHeader = false;
    CsvEncoding encoding = CsvEncoding::Auto; // CSVCODE
    bool quoted = false; // CSVQUOTE: a quoted field may hold commas and line breaks
    // The selection column (SELNO, from 1; -1 none) and what its mark means (SELMODE):
    // 0 a marked record is printed, 1 a marked record is skipped. See RecordChoice.h.
    int selNo = -1;
    int selMode = 0;
    // Joint names of name 1 and their own honorific columns (REN1NO.., REN1KEISNO..); a key
    // is written only when not -1, so a file that never used them saves unchanged.
    std::array<int, kJointNameColumns> renNo{ -1, -1, -1 };
    std::array<int, kJointNameColumns> renKeisNo{ -1, -1, -1 };

    bool operator==(const CsvColumnMap& o) const
    {
        return fileName == o.fileName && textDelimiter == o.textDelimiter && postNo == o.postNo
            && adr1No == o.adr1No && adr2No == o.adr2No && mei1No == o.mei1No
            && mei2No == o.mei2No && cbarNo == o.cbarNo && keisNo == o.keisNo
            && hasHeader == o.hasHeader && encoding == o.encoding && quoted == o.quoted
            && selNo == o.selNo && selMode == o.selMode && renNo == o.renNo && renKeisNo == o.renKeisNo;
    }
    bool operator!=(const CsvColumnMap& o) const { return !(*this == o); }
};

constexpr int kFieldCount = 15;
using FieldStyles = std::array<FieldStyle, kFieldCount>; // element n-1 is field n

// The groups of settings that the forms write back.
enum class SettingsGroup { Postcard, Sender, Label };

struct AppSettings {
    FieldStyles postcardFields = defaultFields(true);
    FieldStyles labelFields = defaultFields(false);
    ImageBox postcardImage;
    ImageBox labelImage;
    double postcardOffsetX = 0; // mm
    double postcardOffsetY = 0; // mm
    bool postcardPostMark = true;
    double labelOffsetX = 0;
    double labelOffsetY = 0;
    bool labelPostMark = true;
    LabelSheet labelSheet;
    SenderInfo sender;
    CsvColumnMap csv;

    // Defaults for missing keys: postcard field 1 is the postal-code digit field.
    static FieldStyles defaultFields(bool postcard)
    {
        FieldStyles f{};
        f[0].post = postcard;
        return f;
    }

    // The process-wide image used by the desktop program.
    static AppSettings& instance();
};

// ---------------------------------------------------------------------------------------
// POSTCSV.INI. The functions without a path work on AppSettings::instance() and the file
// AppPaths::settingsFilePath(); the others let tests and the batch printer name both.
// Every save writes its whole group in one atomic replacement of the file: either all
// of the group's keys reach the disk or none do (a read-only place, a failed write, or a
// text with a character that code page 932 cannot hold all give false).

class QByteArray;

// Reads the settings file into the image, creating it with default content first when
// it is missing. False when it can be neither read nor created.
bool LoadSettings();
bool LoadSettings(AppSettings& settings, const QString& path);

// Creates or replaces the file with the default content.
bool WriteDefaultSettingsFile();
bool WriteDefaultSettingsFile(const QString& path);
// The default content: code page 932, CR LF line ends.
QByteArray DefaultSettingsFileBytes();

// Writes one group (postcard, sender or label) from the image.
bool SaveLayoutSettings(SettingsGroup group);
bool SaveLayoutSettings(const AppSettings& settings, SettingsGroup group, const QString& path);

// Writes [POSTCSV] from the image's csv member. CSVCODE, CSVQUOTE, SELNO and SELMODE are
// written only when they differ from their defaults and removed when they are back at them,
// so a file of a user who never touched them stays as it was.
bool SaveCsvSettings();
bool SaveCsvSettings(const AppSettings& settings, const QString& path);
