#pragma once
// The check before a print run: every record the run will print is looked at as the page
// routine draws it, before anything is printed. The postcard form, the label form and
// tovalin-print all call the same entry points (CheckPostcardRun in PostcardComposer.h,
// CheckLabelRun in LabelComposer.h), so they report the same records.
//
// How to add to it:
//  - A PrintFinding is one problem of one record, and of one field where it is about one.
//    Its kind says what is wrong; PrintCheckReport::describe() words it for the user (the
//    batch printer's lines). A new problem is a new kind plus its wording.
//  - A PrintCheckRule looks at one PrintedRecord (the layout, the record's texts as the page
//    draws them, which fields are drawn as text, a canvas that measures in 0.1 mm) and appends
//    its findings. TextOverflowRule() is the rule for texts that do not fit their field,
//    BarcodeRule() the customer barcode's (BarcodeCheck); a rule for another kind of item
//    (a block of names) is one more function of this shape, added to DefaultPrintCheckRules().
//  - Which records are looked at is the caller's list (PrintCheckRun::records): the records
//    the run prints, in the order it prints them; a run of chosen records passes those.

#include "app/AppSettings.h"
#include "layout/BarcodeCheck.h"
#include "layout/FieldTexts.h"

#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

class PageCanvas;
struct LayoutSnapshot;

struct PrintFinding {
    enum class Kind {
        TextOverflow,    // the text does not fit its field, even where it may shrink
        NotABarcode,     // field 6's data cannot be a customer barcode: no bars are printed
        BarcodeTooClose, // the symbol comes closer to an edge or other printing than allowed
        BlockOutside,    // name 1 with its joint names reaches beyond the card (the label)
    };
    Kind kind = Kind::TextOverflow;
    int record = 0; // index into the snapshot's records (0-based)
    int field = 0;  // 1..15; 0 when the finding is about no single field
    int problem = 0;        // NotABarcode: the CustomerBarcode::Problem
    QStringList neighbours; // BarcodeTooClose: what the symbol comes too close to

    static PrintFinding textOverflow(int record, int field)
    {
        PrintFinding f;
        f.record = record;
        f.field = field;
        return f;
    }

    bool operator==(const PrintFinding& o) const
    {
        return kind == o.kind && record == o.record && field == o.field && problem == o.problem
            && neighbours == o.neighbours;
    }
};

struct PrintCheckReport {
    bool labelForm = false;          // field captions as the label form shows them
    QVector<PrintFinding> findings;  // in the order the run prints its records; a record's as its rules find them

    bool isEmpty() const { return findings.isEmpty(); }
    // The records with at least one finding, each once, in the order they are printed.
    QVector<int> records() const;
    // The first record with a finding that is printed after `record` (wrapping round to the
    // first one); -1 when there is none. A record that is not printed counts from the start.
    int nextRecord(int record) const;
    // True when the record has a finding about this field.
    bool flags(int record, int field) const;
    // The same report with only the findings of one kind (the forms go through the records
    // whose texts do not fit).
    PrintCheckReport only(PrintFinding::Kind kind) const;

    // One line for a finding, e.g. "枠に収まりません: 2件目 住所２" (record numbers from 1,
    // the field's caption as the form shows it).
    static QString describe(const PrintFinding& finding, bool labelForm);
    // The lines of the report: one for each text that does not fit, at most `max` of them and
    // then "ほか N 件" for the rest; then the barcode's findings, one line for each kind of
    // problem with its records (DescribeBarcodeFindings).
    QStringList lines(int max = 20) const;
};

// One record as the page routine draws it.
struct PrintedRecord {
    const LayoutSnapshot* layout = nullptr;
    int record = 0;
    FieldTextArray texts;        // the text each field is given by the page routine
    FieldVisibility textFields{}; // visible fields drawn as text (not as postal-code digits)
    PageCanvas* canvas = nullptr; // measures with the page's fonts, in 0.1 mm
    QSize piece;                  // the card or the label, 0.1 mm
};

using PrintCheckRule = std::function<void(const PrintedRecord&, QVector<PrintFinding>&)>;

// Every field drawn as text measured as it is set on the page (FieldTypesetting::settle,
// shrinking where the field may): a text longer than its field is a TextOverflow. A field
// printed as a customer barcode is not text, and a name with joint names is a block (below).
PrintCheckRule TextOverflowRule();
// Name 1 and the sender's name 1 with joint names, set as a block as the page sets it
// (LayoutComposer::setNameBlock): a block longer than its field, even shrunk where it may, is a
// TextOverflow of the field; a block that reaches beyond the card (the label) a BlockOutside.
PrintCheckRule NameBlockRule();
// Field 6 printed as a customer barcode on `piece` (the card or the label): its data and its
// surroundings (CheckBarcodes), as NotABarcode and BarcodeTooClose.
PrintCheckRule BarcodeRule(const BarcodePiece& piece);
// The rules every print run on `piece` is checked with.
QVector<PrintCheckRule> DefaultPrintCheckRules(const BarcodePiece& piece);

struct PrintCheckRun {
    const LayoutSnapshot* layout = nullptr;
    bool labelForm = false;
    QVector<int> records;                       // the records printed, in print order
    std::function<FieldTextArray(int)> textsOf; // a record's texts as the page routine draws them
    FieldVisibility textFields{};               // see PrintedRecord
    QSize piece;                                // see PrintedRecord
};

PrintCheckReport RunPrintCheck(const PrintCheckRun& run, const QVector<PrintCheckRule>& rules);
