#pragma once
// The drawing steps that the postcard page and the label page share: converting a box from
// layout pixels to the page, the stamp picture, a field's font, and a field's text placed
// by its alignment (with the vertical hyphen rule). All through the preview engine's
// operations, in 0.1 mm from the top-left corner of the sheet.

#include "app/AppSettings.h"
#include "layout/CustomerBarcode.h"
#include "layout/FieldGeometry.h"
#include "layout/LayoutSnapshot.h"
#include "layout/NameBlock.h"

#include <QRectF>
#include <QString>
#include <QVector>

class PageCanvas;
class TplPrev;

namespace LayoutComposer {

// A field box on the page: T(p) = Trunc(p / 0.37795 + 0.5) of the box's own pixel values,
// moved by the origin; height and width get one tenth more, as the text operations expect.
struct PrintRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};
PrintRect printRect(const FieldBox& box, int originX, int originY);

// DrawImage stretched into the stamp box moved by the origin, when the file name, trimmed,
// is not empty.
void drawStamp(TplPrev& engine, const ImageBox& stamp, int originX, int originY);

// The engine's font style flags for a style (bold, italic).
int fontStyleFlags(const FieldStyle& style);
// The size a stored font size is printed with (as the screen draws it: 0 or less is 9).
int printPoints(const FieldStyle& style);

// The three font settings in the order of the caller's routine.
void setFontSizeNameStyle(TplPrev& engine, const FieldStyle& style);
void setFontStyleSizeName(TplPrev& engine, const FieldStyle& style);

// A field's text in its rectangle by the style's alignment: vertical boxes with
// TextVTop / TextVCenter / TextVBottom (column at left, from top to top + height),
// horizontal ones with TextLeft / TextCenter / TextRight. The text is set as
// FieldTypesetting::settle decides: kanji numerals and hyphen rules of a vertical box,
// 縦中横, and a smaller size, centred across the box, for a field that shrinks to fit.
// The caller has set the style's font; a shrunk field leaves the smaller size set.
void drawFieldText(TplPrev& engine, int field, const FieldStyle& style, const PrintRect& rect,
                   const QString& text);

// Where a barcode field's symbol lies on the page, in 0.1 mm: from the start of the box,
// centred across it; a vertical box holds the symbol turned 90 degrees clockwise (its top
// edge to the right).
QRectF barcodeRect(const SnapshotField& f, int originX, int originY);
// The bars of a symbol in its rectangle (barcodeRect), in the rectangle's units (0.1 mm);
// the printed page fills them, the editor's picture scales them to the screen.
QVector<QRectF> barRects(const FieldStyle& style, const QRectF& symbolRect, const CustomerBarcode::Symbol& symbol);
// The bars of a valid symbol as filled black rectangles in its rectangle (barcodeRect).
void drawBarcode(TplPrev& engine, const FieldStyle& style, const QRectF& symbolRect,
                 const CustomerBarcode::Symbol& symbol);

// A visible field as printed, moved by the origin: its font, then its text, or for a barcode
// field the symbol of its text (nothing when the text cannot be one).
void drawField(TplPrev& engine, int field, const SnapshotField& f, int originX, int originY,
               const QString& text);

// A name field with joint names (fields 4 and 10) set as a block on the page: where each name
// and honorific goes, at which size. setNameBlock sets every text as the field sets its own
// (FieldTypesetting: kanji numerals, 縦中横) and, when the field shrinks to fit, shrinks the
// whole block by one factor (FieldTypesetting::fitSize); it measures with the canvas and
// leaves its font as it was. drawNameBlock draws it, each text cut at the field's end as a
// field's text is.
struct NameBlockSetting {
    NameBlock::Layout layout;
    double points = 0;
    bool tateChuYoko = false;
    bool overflows = false; // longer than the field, even shrunk where it may be
};
NameBlockSetting setNameBlock(PageCanvas& canvas, int field, const FieldStyle& style, const PrintRect& rect,
                              const NameBlockTexts& names);
void drawNameBlock(PageCanvas& canvas, const FieldStyle& style, const PrintRect& rect, const NameBlockSetting& set);

// How far name 2 (field 5 or 11) moves to stay after the block of the name before it: left of
// a vertical block, below a horizontal one, by how far the block reaches past its own field;
// not at all when name 2 lies on the other side.
QPoint afterBlock(const SnapshotField& name1, const SnapshotField& name2, const NameBlock::Layout& block);

// The name blocks of a record: the recipient's (field 4) and the sender's (field 10).
struct RecordNames {
    NameBlockTexts recipient;
    NameBlockTexts sender;
    // The block field `field` is set as (4, 10), or nullptr when it prints its own text.
    const NameBlockTexts* block(int field) const
    {
        const NameBlockTexts* b = field == 4 ? &recipient : field == 10 ? &sender : nullptr;
        return b && b->isBlock() ? b : nullptr;
    }
};
RecordNames recordNames(const LayoutSnapshot& snapshot, int record);

// The visible fields from `first` to 15, except `skip`, in order, as drawField draws them;
// name 1 and the sender's name 1 with joint names are set as blocks and their name 2 moves
// after the block.
void drawFields(TplPrev& engine, const LayoutSnapshot& snapshot, const FieldTextArray& texts,
                const RecordNames& names, int originX, int originY, int first, int skip);

} // namespace LayoutComposer
