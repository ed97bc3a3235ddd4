#pragma once
// The sheet part of the label form: the eight sheet settings, the label size H x W that
// follows from them, and the start cell (the first free label of a partly used sheet).
// Every change goes through a proposal that either takes effect whole or leaves everything
// as it was. The form wires its up-down controls to the proposals and shows the message of
// a refusal; the batch printer uses the same rules without a window.

#include "label/LabelGeometry.h"

// What opening a stored label layout found wrong (a hand-edited settings file, or fonts that
// grew the boxes): settings outside their ranges, and a label smaller than its fields. The
// layout opens anyway with what it can use; the user is told once and can repair it.
struct LabelOpeningReport {
    LabelSheet stored;                  // the values as they were stored
    LabelSheet used;                    // held to their ranges
    QVector<SheetSetting> outOfRange;
    bool tooSmall = false;              // the stored sheet fails the minimum rule

    bool isEmpty() const { return outOfRange.isEmpty() && !tooSmall; }
    // One message, line by line (CR LF); empty when there is nothing to say.
    QString message() const;
};

class LabelSheetModel {
public:
    explicit LabelSheetModel(const LabelSheet& sheet = LabelSheet());

    // Takes stored values without the minimum check (values outside their ranges are held to
    // them and listed in `outOfRange`), computes H and W, and starts again at row 1, column 1.
    void load(const LabelSheet& sheet, QVector<SheetSetting>* outOfRange = nullptr);

    const LabelSheet& sheet() const { return m_sheet; }
    int value(SheetSetting setting) const { return LabelGeometry::value(m_sheet, setting); }
    int labelHeight() const { return m_height; }
    int labelWidth() const { return m_width; }
    // The label image in layout pixels.
    QSize imageSize() const { return LabelGeometry::imageSize(m_height, m_width); }

    // Takes a sheet that is already held to its ranges (a layout document's), keeping the
    // start cell on its grid: a start cell beyond a smaller grid moves to its last row or
    // column, a larger grid leaves it where it is.
    void follow(const LabelSheet& sheet);

    // A sheet setting about to take `proposed`: checked against the floor of the fields; when
    // allowed the setting, H and W take their new values and a start cell beyond a smaller
    // grid moves to its last row or column. A refusal changes nothing.
    LabelGeometry::Check ProposeSheetChange(SheetSetting setting, int proposed, const LabelGeometry::Floor& floor);

    // A whole sheet replacing this one (a label product chosen by name): the same rule and the
    // same start cell as a change of one setting. Values outside their ranges are held to them.
    LabelGeometry::Check ProposeSheet(const LabelSheet& sheet, const LabelGeometry::Floor& floor);

    int startRow() const { return m_startRow; }
    int startColumn() const { return m_startColumn; }
    // Refused (false, nothing changes) below 1 or beyond the rows / columns of the sheet.
    bool ProposeStartRow(int row);
    bool ProposeStartColumn(int column);

    // The top-left corner of a label on the paper, in tenths of a millimetre.
    QPoint LabelOrigin(int row, int column) const;

private:
    LabelSheet m_sheet;
    int m_height = 0;
    int m_width = 0;
    int m_startRow = 1;
    int m_startColumn = 1;
};
