#pragma once
// The rules that turn one CSV record and the sender information into the texts of the
// fifteen layout fields. Pure functions shared by the screen (text boxes), the postcard
// page and the label page, so that what is shown is what is printed.
//
// Field numbers: 1 recipient postal code, 2 and 3 recipient address lines, 4 and 5 recipient
// names (they carry the honorific), 6 customer-barcode column, 7 sender postal code, 8 and 9
// sender address lines, 10 and 11 sender names, 12 telephone, 13 fax, 14 e-mail, 15 URL.

#include "app/AppSettings.h"

#include <QString>
#include <QStringView>
#include <QVector>
#include <array>

using FieldTextArray = std::array<QString, kFieldCount>; // element n-1 is field n
using FieldVisibility = std::array<bool, kFieldCount>;   // element n-1 is field n

// Where the texts go. On screen a blank text becomes a single space so that its box keeps
// one line of height; on a printed page blank texts stay as they are.
enum class TextTarget { Screen, Print };

// The honorific controls of a layout form: "登録されている敬称を使用" (use the record's
// honorific column) and the text of the honorific combo box ("様", "殿", "御中" or typed).
struct HonorificChoice {
    bool useRegistered = false;
    QString fixedText;

    bool operator==(const HonorificChoice& o) const
    {
        return useRegistered == o.useRegistered && fixedText == o.fixedText;
    }
    bool operator!=(const HonorificChoice& o) const { return !(*this == o); }
};

// The mapped columns of one record. A column that is not mapped or missing is " ".
struct RecordColumns {
    QString postalCode = QStringLiteral(" ");
    QString address1 = QStringLiteral(" ");
    QString address2 = QStringLiteral(" ");
    QString name1 = QStringLiteral(" ");
    QString name2 = QStringLiteral(" ");
    QString barcode = QStringLiteral(" ");
    QString honorific = QStringLiteral(" ");
    // The joint names (連名) of name 1 and their own honorific columns.
    std::array<QString, kJointNameColumns> jointNames{ QStringLiteral(" "), QStringLiteral(" "), QStringLiteral(" ") };
    std::array<QString, kJointNameColumns> jointHonorifics{ QStringLiteral(" "), QStringLiteral(" "),
                                                            QStringLiteral(" ") };

    // Takes the columns out of one CSV line with the mapping's column numbers and delimiter.
    static RecordColumns fromLine(QStringView line, const CsvColumnMap& map);
};

// Name 1 of a record (or of the sender) with its joint names (連名), set together as one
// block. Without joint names there is no block and name 1 prints as its field text.
struct NameBlockTexts {
    struct Name {
        QString text;
        QString honorific;      // empty: none
        bool givenOnly = false; // a given name alone: starts where name 1's given name starts

        bool operator==(const Name& o) const
        {
            return text == o.text && honorific == o.honorific && givenOnly == o.givenOnly;
        }
    };
    Name name1;          // as the record has it (empty when blank); givenOnly is never set
    QVector<Name> joints; // the joint names that are not blank, in their order

    bool isBlock() const { return !joints.isEmpty(); }
};

namespace FieldTexts {

// Blank: nothing left after removing blanks and control characters from both ends
// (the ideographic space U+3000 is a character, not a blank).
bool isBlank(QStringView text);

// The honorific to append: the record's column or the combo text.
QString honorific(const HonorificChoice& choice, const RecordColumns& columns);

// Which name carries the honorific: 4, 5, or 0 when neither name is visible. Name 2 wins
// when it is visible and not blank; name 1 otherwise (name 2 when name 1 is hidden).
int honorificTarget(bool visible4, bool visible5, QStringView name2);

// The fifteen texts of a record. Field 7 is left empty (blank on screen): the sender postal
// code is drawn with its own rules (postMark, postalDigits). Field 1 is the raw column;
// the postcard screen reduces it with postalDigits.
FieldTextArray fill(const RecordColumns& columns, const SenderInfo& sender, const HonorificChoice& choice,
                    const FieldVisibility& visible, TextTarget target);

// The sender's part (fields 8 to 15, as printed) on its own: a print run that fills many
// records from the same sender computes it once and passes it to the overload below.
FieldTextArray senderTexts(const SenderInfo& sender);
FieldTextArray fill(const RecordColumns& columns, const FieldTextArray& senderTexts, const HonorificChoice& choice,
                    const FieldVisibility& visible, TextTarget target);

// Recomputes fields 4 and 5 only (after the honorific controls or the name visibility changed).
void applyHonorific(FieldTextArray& texts, const RecordColumns& columns, const HonorificChoice& choice,
                    const FieldVisibility& visible, TextTarget target);

// The recipient's block: name 1 with the honorific it gets today (when it is the honorific's
// target) and the joint names that are not blank, each with its own honorific column when that
// is not blank, else the honorific name 1 or name 2 gets. No block when name 1's field is hidden.
NameBlockTexts recipientNames(const RecordColumns& columns, const HonorificChoice& choice,
                              const FieldVisibility& visible);
// The sender's block: name 1 with the sender's joint names, no honorifics.
NameBlockTexts senderNames(const SenderInfo& sender);

// A joint name that holds a space (ASCII or ideographic) between other characters is a full
// name with its own family name; otherwise it is a given name.
bool isFullName(QStringView name);
// Where the given name of name 1 begins: after its first space that follows other characters;
// -1 when it has none.
int givenNameStart(QStringView name1);

// The digits of a postal code: converted to half-width and upper case, only "0".."9" kept.
// A blank text gives " ". The whole text is converted, however long.
QString postalDigits(const QString& text);

// The 〒 rule: with putMark, "〒" is put in front unless the text begins with it; without,
// one leading "〒" is removed. Anything else is left as it is.
QString postMark(const QString& code, bool putMark);
// The same rule for a code that may be missing: a blank code stays empty, so that a record
// without a postal code never shows a lone "〒" (the label form's fields 1 and 7).
QString postMarkUnlessBlank(const QString& code, bool putMark);

// Vertical fields whose full-width hyphens "－" are drawn as "-": 2, 3, 7, 8 and 9 on
// screen; 2, 3, 8 and 9 on a printed page.
bool replacesHyphens(int field, TextTarget target);
QString asciiHyphens(const QString& text);

} // namespace FieldTexts
