#pragma once
// How the text of one field is set: the text as drawn (kanji numerals and the hyphen rules of
// a vertical field), 縦中横, and the size when the field shrinks a long text to fit its length.
// The printed page (LayoutComposer::drawFieldText), the card picture of the editor and the
// check before printing all decide through settle(), measuring with a PageCanvas in 0.1 mm,
// so that what the editor shows and marks is what is printed.

#include "app/AppSettings.h"
#include "layout/FieldTexts.h"

#include <QString>
#include <functional>

class PageCanvas;

namespace FieldTypesetting {

// The recipient and sender address and name fields (2, 3, 4, 5, 8, 9, 10, 11) take the
// options KANSUJI, HYPHEN, TCY and FIT; on any other field they are ignored.
bool takesOptions(int field);

// The text as drawn: in a vertical field, numbers in kanji when the style asks for it, then
// the full-width hyphens that are drawn as "-" (FieldTexts::replacesHyphens). A horizontal
// field's text is never changed here.
QString displayText(int field, const FieldStyle& style, const QString& text, TextTarget target);

// Whether the field's vertical text is set with 縦中横.
bool tateChuYoko(int field, const FieldStyle& style);

// Shrinking goes in steps of this many points, down to half the stored size.
constexpr double kFitStep = 0.5;

// The size a text is set at in a field `lengthTenths` long when `lengthAt(points)` gives its
// length at a size: the stored size `full` when it fits; when the field may shrink (`fit`), the
// largest step from `full` down to half of it at which it fits. `overflows` when even that
// does not fit (a field that shrinks is then set at half the size). A block of names shrinks
// by the same rule as one text.
struct FittedSize {
    double points = 0;
    bool overflows = false;
};
FittedSize fitSize(double full, int lengthTenths, bool fit, const std::function<qreal(double)>& lengthAt);

struct Setting {
    QString text;             // as drawn
    double points = 0;        // the size drawn: the stored size, or a smaller one that fits
    bool tateChuYoko = false;
    int across = 0;           // 0.1 mm to move a shrunk text across its box, to keep it centred
    bool overflows = false;   // the text is longer than the field, even shrunk where it may be
};

// Sets `text` of field `field` in a field `lengthTenths` long (0.1 mm along the writing
// direction: a vertical box's height, a horizontal box's width). The canvas measures with the
// style's font; its font and 縦中横 setting are left as they were. The text is measured only
// when the field shrinks to fit or when `measure` asks for the overflow; otherwise
// `overflows` stays false. The size found is the largest step from the stored size down to
// half of it at which the text fits; when even half the size does not fit, the text is set at
// half the size and overflows.
Setting settle(PageCanvas& canvas, int field, const FieldStyle& style, int lengthTenths, const QString& text,
               TextTarget target, bool measure);

} // namespace FieldTypesetting
