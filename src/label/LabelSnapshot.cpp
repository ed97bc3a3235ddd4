#include "label/LabelSnapshot.h"

int LabelSnapshot::perPage() const
{
    return sheet.columns * sheet.rows;
}

int LabelSnapshot::skipped() const
{
    return (startRow - 1) * sheet.columns + (startColumn - 1);
}

int LabelSnapshot::pageCount() const
{
    const int per = perPage();
    if (per <= 0)
        return 0;
    const int cells = choice.count(int(records.size())) + skipped();
    return cells / per + (cells % per != 0 ? 1 : 0);
}

QPoint LabelSnapshot::cellOrigin(int row, int column) const
{
    return LabelGeometry::cellOrigin(sheet, labelHeight, labelWidth, row, column);
}

int LabelSnapshot::recordAt(int page, int row, int column) const
{
    if (page < 1 || row < 1 || row > sheet.rows || column < 1 || column > sheet.columns)
        return -1;
    const long long i = (long long)perPage() * (page - 1) + (long long)sheet.columns * (row - 1) + (column - 1)
        - skipped();
    if (i < 0 || i >= records.size())
        return -1;
    return choice.at(int(i), int(records.size()));
}

QVector<int> LabelSnapshot::printedRecords() const
{
    return choice.records(int(records.size()));
}

LabelSnapshot LabelSnapshot::fromSettings(const AppSettings& settings, const QStringList& records,
                                          const HonorificChoice& honorific, bool recipientPostMark, int startRow,
                                          int startColumn, LabelOpeningReport* report)
{
    LabelSnapshot s;
    s.takeSettings(settings, false, records, honorific);

    // The sheet as the form opens it: stored values held to their ranges, then the label size
    // computed once against the boxes as they came from the file.
    LabelOpeningReport r;
    r.stored = settings.labelSheet;
    LabelSheetModel model;
    model.load(settings.labelSheet, &r.outOfRange);
    r.used = model.sheet();
    QVector<QRect> visible;
    for (const SnapshotField& f : s.fields) {
        if (f.visible())
            visible.push_back(QRect(f.box.left, f.box.top, f.box.width, f.box.height));
    }
    const LabelGeometry::Check c = model.ProposeSheetChange(SheetSetting::RowGap, model.value(SheetSetting::RowGap),
                                                            LabelGeometry::fieldFloor(visible));
    r.tooSmall = c.verdict != LabelGeometry::Verdict::Allowed;
    const QSize image = model.imageSize();
    for (SnapshotField& f : s.fields) {
        const QRect kept =
            LabelGeometry::keepBoxInside(QRect(f.box.left, f.box.top, f.box.width, f.box.height), image);
        f.box = FieldBox{kept.x(), kept.y(), kept.width(), kept.height()};
        f.style.left = kept.x();
        f.style.top = kept.y();
        f.style.width = f.style.tate ? kept.height() : kept.width();
    }
    s.sheet = model.sheet();
    s.labelHeight = model.labelHeight();
    s.labelWidth = model.labelWidth();
    s.startRow = startRow;
    s.startColumn = startColumn;

    if (!s.stamp.path.isEmpty()) {
        const QRect kept =
            LabelGeometry::keepStampInside(QRect(s.stamp.left, s.stamp.top, s.stamp.width, s.stamp.height), image);
        s.stamp.left = kept.x();
        s.stamp.top = kept.y();
    }
    s.recipientPostMark = recipientPostMark;
    if (report)
        *report = r;
    return s;
}

bool LabelSnapshot::operator==(const LabelSnapshot& o) const
{
    return LayoutSnapshot::operator==(o) && sheet == o.sheet && labelHeight == o.labelHeight
        && labelWidth == o.labelWidth && startRow == o.startRow && startColumn == o.startColumn;
}
