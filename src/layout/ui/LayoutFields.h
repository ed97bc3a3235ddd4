#pragma once
// The fifteen field text boxes of a layout form (postcard or label) and the operations the
// form runs on them: showing a field of the layout document, filling the texts of a record,
// the honorific and the shared paint handler. The boxes only draw: where a box lies and how
// it is styled is the document's (showField). The forms own one LayoutFields and keep its
// inputs current (record lines, column map, sender, honorific, 〒 options).

#include "app/AppSettings.h"
#include "layout/FieldGeometry.h"
#include "layout/FieldTexts.h"
#include "layout/FieldTypesetting.h"
#include "layout/LayoutComposer.h"
#include "layout/LayoutDocument.h"
#include "layout/LayoutField.h"

#include <QColor>
#include <QFont>
#include <QObject>
#include <QStringList>

#include <array>

class QPainter;
class QWidget;
class TPaintBoxEL;

class LayoutFields : public QObject {
    Q_OBJECT

public:
    // The postcard draws fields 1 and 7 as postal-code digits over the card's printed boxes;
    // the label form draws every field as text, fields 1 and 7 with their 〒 check boxes.
    using Form = LayoutKind;

    static const QColor kSelectedLine; // blue outline of the selected field
    static const QColor kNormalLine;   // grey outline of every other field

    // Creates pbeFld1 .. pbeFld15 as children of `card` (the card or label image).
    LayoutFields(Form form, QWidget* card, QObject* parent = nullptr);

    Form form() const { return form_; }
    TPaintBoxEL* box(int field) const; // 1..15, nullptr otherwise
    const std::array<TPaintBoxEL*, kFieldCount>& boxes() const { return boxes_; }
    int fieldOf(const TPaintBoxEL* box) const; // 1..15, 0 for a foreign box

    // --- what the rules read; the form keeps these current
    QStringList records;          // the CSV record lines (header already dropped)
    CsvColumnMap columns;         // column numbers and text delimiter
    SenderInfo sender;
    HonorificChoice honorific;    // cbKeisho / cmbKeisho
    bool senderPostMark = true;   // cbPostMark "先頭に〒付加"
    bool recipientPostMark = true; // cbSPostMark (label form only)

    // Box n shows field n of a layout: vertical, bold, italic, postal, face, size,
    // alignment, its box and visibility; the rest of its style (the typesetting and barcode
    // options) is kept beside the box.
    void showField(int field, const LayoutField& f);
    // Box n shows a stored style as a form shows it after opening (LayoutField::fromStyle).
    void applyStyle(int field, const FieldStyle& style);
    // The box's style as it is stored (postWaku is the form's check box and stays false here).
    FieldStyle style(int field) const;

    // Outlines `selected` in blue and every other box in grey (nullptr: all grey).
    void setSelected(TPaintBoxEL* selected);

    // Sets the texts of fields 1..6 and 8..15 for record `index` (blank texts become " ");
    // an index outside the records fills from an empty line.
    void FillFieldTexts(int index);
    // Recomputes fields 4 and 5 for the current record and repaints them.
    void ApplyHonorific();
    // Builds the box's font from its own properties and sets its thickness from the font
    // (for a box whose properties were set one by one).
    void ApplyFieldFont(TPaintBoxEL* box);
    // The shared paint handler. A name with joint names draws only its outline; its block
    // shows (below).
    void PaintField(TPaintBoxEL* box, QPainter& painter);

    // The picture of name 1 (4) or the sender's name 1 (10) with the joint names of the record
    // shown, set as the page sets the block (LayoutComposer::setNameBlock) and lying on the card
    // under the boxes; a press on it is a press on the name's box, so the block drags as one
    // field. Hidden when the record shows no block there; nullptr for other fields.
    QWidget* blockView(int field) const;

    // The font a box draws with, in screen pixels (a size of 0 or less counts as 9 points).
    QFont boxFont(const TPaintBoxEL* box) const;
    // The text height of the box's font: a horizontal box's height, a vertical box's width.
    int textHeight(const TPaintBoxEL* box) const;
    // The text PaintField draws in a box (after the 〒 rules, kanji numerals and hyphen rules);
    // empty for digits.
    QString paintText(const TPaintBoxEL* box) const;
    // True when the visible box's text for the record shown does not fit its length, even
    // shrunk where the field may shrink: the box is then outlined in red.
    bool overflows(const TPaintBoxEL* box) const;
    static const QColor kOverflowLine;
    // The record shown.
    int currentRecord() const { return current_; }
    FieldVisibility visibility() const;

    // Fixed geometry of the postal-code digit boxes on the postcard.
    static constexpr int kPostalLeft = FieldGeometry::kPostalLeft, kPostalTop = FieldGeometry::kPostalTop,
                         kPostalWidth = FieldGeometry::kPostalWidth, kPostalHeight = FieldGeometry::kPostalHeight;
    static constexpr int kSenderPostalWidth = FieldGeometry::kSenderPostalWidth,
                         kSenderPostalHeight = FieldGeometry::kSenderPostalHeight;

private:
    bool drawsDigits(const TPaintBoxEL* box) const;
    // The box's text after the 〒 rules, before typesetting.
    QString sourceText(const TPaintBoxEL* box) const;
    // The box's text set as the printed page sets it.
    FieldTypesetting::Setting settle(const TPaintBoxEL* box, bool measure) const;
    void enforcePostalGeometry(TPaintBoxEL* box);
    void paintDigits(TPaintBoxEL* box, QPainter& painter, const QFont& font);
    void paintBarcode(TPaintBoxEL* box, QPainter& painter);
    // The block field 4 or 10 is set as for the record shown, nullptr when it shows its text.
    const NameBlockTexts* blockOf(const TPaintBoxEL* box) const;
    LayoutComposer::NameBlockSetting setBlock(const TPaintBoxEL* box) const;
    // The blocks after the record, the honorific or a name field changed.
    void showBlocks();
    void paintBlock(int field, QWidget* view, QPainter& painter);

    Form form_;
    std::array<TPaintBoxEL*, kFieldCount> boxes_{};
    int current_ = 0;
    RecordColumns columns_;
    LayoutComposer::RecordNames names_;
    std::array<QWidget*, 2> blockViews_{}; // fields 4 and 10
    // The style applied last to each field: what the boxes do not hold (the typesetting
    // options, the barcode option) is kept from it.
    std::array<FieldStyle, kFieldCount> stored_{};
};
