// The label sheet on arbitrary numbers, as a hand-edited [LABEL] section and hand-edited field
// boxes hand them to it: the sheet model opening the stored values, changes proposed through
// the up-down controls, the start cell, where each label lies, and the boxes and the stamp kept
// inside a label.
//
// Properties: the model only ever holds values inside their ranges; an allowed change leaves a
// label no smaller than its floor; a refused one changes nothing; the start cell lies on the
// sheet; a box that fits is kept inside the label.

#include "FuzzSupport.h"

#include "label/LabelSheetModel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input in(data, size);
    LabelSheet stored;
    for (SheetSetting setting : LabelGeometry::allSettings())
        LabelGeometry::setValue(stored, setting, in.int32());

    LabelSheetModel model;
    QVector<SheetSetting> outOfRange;
    model.load(stored, &outOfRange);
    auto inRange = [&model] {
        for (SheetSetting setting : LabelGeometry::allSettings()) {
            const LabelGeometry::Range r = LabelGeometry::range(setting);
            if (model.value(setting) < r.min || model.value(setting) > r.max)
                return false;
        }
        return true;
    };
    FUZZ_CHECK(inRange());
    FUZZ_CHECK(outOfRange.isEmpty() == (model.sheet() == stored));

    // The floor of the fields: boxes as hand-edited field positions and lengths give them.
    QVector<QRect> boxes;
    const int boxCount = in.byte() % 4;
    for (int i = 0; i < boxCount; ++i) {
        const int left = in.inRange(-1000000, 1000000), top = in.inRange(-1000000, 1000000);
        boxes << QRect(QPoint(left, top), QSize(in.inRange(0, 100000), in.inRange(0, 100000)));
    }
    const LabelGeometry::Floor floor = LabelGeometry::fieldFloor(boxes);
    FUZZ_CHECK(floor.height >= LabelGeometry::kMinimumExtent && floor.width >= LabelGeometry::kMinimumExtent);

    while (in.remaining() > 0) {
        const uint8_t step = in.byte();
        const SheetSetting setting = LabelGeometry::allSettings().at(step % 8);
        const int proposed = in.int32();
        if (step & 0x80) {
            const int row = model.startRow(), column = model.startColumn();
            const bool taken = (step & 0x40) ? model.ProposeStartRow(proposed) : model.ProposeStartColumn(proposed);
            if (!taken)
                FUZZ_CHECK(model.startRow() == row && model.startColumn() == column);
        } else {
            const LabelSheet before = model.sheet();
            const LabelGeometry::Check c = model.ProposeSheetChange(setting, proposed, floor);
            if (c.verdict == LabelGeometry::Verdict::Allowed) {
                FUZZ_CHECK(model.value(setting) == c.value);
                FUZZ_CHECK(model.labelHeight() == c.height && model.labelWidth() == c.width);
                FUZZ_CHECK(c.height >= floor.height && c.width >= floor.width);
            } else {
                FUZZ_CHECK(model.sheet() == before);
            }
        }
        FUZZ_CHECK(inRange());
        FUZZ_CHECK(model.startRow() >= 1 && model.startRow() <= model.sheet().rows);
        FUZZ_CHECK(model.startColumn() >= 1 && model.startColumn() <= model.sheet().columns);
    }

    // Every label of the sheet, and the boxes and the stamp on one label.
    for (int row = 1; row <= model.sheet().rows; ++row) {
        for (int column = 1; column <= model.sheet().columns; ++column) {
            const QPoint origin = model.LabelOrigin(row, column);
            FUZZ_CHECK(origin.x() >= 0 && origin.y() >= 0);
        }
    }
    const QSize image = model.imageSize();
    FUZZ_CHECK(image.width() >= 1 && image.height() >= 1);
    for (const QRect& box : boxes) {
        const QRect kept = LabelGeometry::keepBoxInside(box, image);
        FUZZ_CHECK(kept.width() <= image.width() && kept.height() <= image.height());
        FUZZ_CHECK(kept.bottom() < image.height() && kept.right() < image.width());
        const QRect stamp = LabelGeometry::keepStampInside(box, image);
        FUZZ_CHECK(stamp.size() == box.size());
        (void)LabelGeometry::stampOutside(stamp, image);
    }
    return 0;
}
