#pragma once
// The postcard's page-drawing routine: one card of a print run, composed through the
// preview engine's operations. The postcard form hands it to the engine's BeginPreview
// (wrapped in a lambda that takes a fresh snapshot of its controls, or one taken when the
// run starts); the batch printer hands it the snapshot built from POSTCSV.INI. Both get the
// same pages.
//
//     engine.setTitle(QStringLiteral("ハガキ宛名印刷"));
//     engine.setPageCount(snapshot.pageCount());
//     engine.BeginPreview([&] { DrawPostcardPage(engine, snapshot); });

#include "layout/PrintCheck.h"
#include "postcard/PostcardSnapshot.h"

class TplPrev;

// Draws the page engine.CurrentPage(): the stamp, field 1 as postal-code digits, field 7
// (the sender postal code, into its cells with "郵便枠対応"), then fields 2 to 6 and 8 to 15
// in ascending order, each moved by the snapshot's offsets.
void DrawPostcardPage(TplPrev& engine, const PostcardSnapshot& snapshot);

// The texts DrawPostcardPage gives the fields of a record: field 1 the postal-code column as
// read, field 7 the sender postal code with the 〒 rule, the others as printed.
FieldTextArray PostcardFieldTexts(const PostcardSnapshot& snapshot, int record);

// The check before a print run over the records the run prints (every record, or the one on
// screen with "表示宛名のみ印刷"): the texts of the visible fields drawn as text, and the
// customer barcode on the card.
PrintCheckReport CheckPostcardRun(const PostcardSnapshot& snapshot);

// The sender postal-code cells of "郵便枠対応", relative to the field's left and top in
// 0.1 mm: three 4 mm cells, a 1 mm gap, four 4 mm cells, all 6.5 mm high.
namespace SenderPostalCells {
constexpr int kFirstRight = 120;
constexpr int kSecondLeft = 130;
constexpr int kSecondRight = 290;
constexpr int kHeight = 65;
} // namespace SenderPostalCells
