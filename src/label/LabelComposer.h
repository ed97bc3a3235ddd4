#pragma once
// The label sheet's page-drawing routine: the labels of one A4 page, composed through the
// preview engine's operations. The label form hands it to the engine's BeginPreview with a
// snapshot of its controls; the batch printer with the snapshot built from POSTCSV.INI.
//
//     engine.setTitle(QStringLiteral("A4ラベル宛名印刷"));
//     engine.setPageCount(snapshot.pageCount());
//     engine.BeginPreview([&] { DrawLabelPage(engine, snapshot); });

#include "label/LabelSnapshot.h"
#include "layout/PrintCheck.h"

class TplPrev;

// The text of field n (1..15) of a record as a label prints it: the CSV columns with the
// honorific rule, the recipient postal code (field 1) and the sender postal code (field 7)
// with their 〒 rules, the sender items with their prefixes. Blank texts stay empty.
QString LabelFieldText(const LabelSnapshot& snapshot, int field, int record);
// All fifteen at once; `senderTexts` is FieldTexts::senderTexts(snapshot.sender).
FieldTextArray LabelFieldTexts(const LabelSnapshot& snapshot, int record, const FieldTextArray& senderTexts);

// Draws the page engine.CurrentPage(). In the preview every cell of the sheet is outlined in
// green first; on paper (engine.Printing()) there are no outlines and every label moves by
// the position adjustment. Records fill the cells row by row from the start cell of page 1
// and from the top-left cell of every later page. One label: the stamp, then fields 1 to 15.
void DrawLabelPage(TplPrev& engine, const LabelSnapshot& snapshot);

// The check before a print run over every record the sheets print: the texts of the visible
// fields, and the customer barcode on the label.
PrintCheckReport CheckLabelRun(const LabelSnapshot& snapshot);

// The outline colour of the preview's cells ($BBGGRR): green, RGB 0, 128, 0.
constexpr int kLabelOutlineColor = 0x008000;
