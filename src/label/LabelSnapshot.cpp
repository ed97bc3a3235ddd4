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

LabelSnapshot LabelSnapshot::fromLayout(const LayoutState& layout, const QStringList& records,
                                        const CsvColumnMap& columns, const SenderInfo& sender, int startRow,
                                        int startColumn)
{
    LabelSnapshot s;
    s.takeLayout(layout, records, columns, sender);
    s.sheet = layout.sheet;
    s.labelHeight = layout.labelHeight();
    s.labelWidth = layout.labelWidth();
    s.startRow = startRow;
    s.startColumn = startColumn;
    return s;
}

LabelSnapshot LabelSnapshot::fromSettings(const AppSettings& settings, const QStringList& records,
                                          const HonorificChoice& honorific, bool recipientPostMark, int startRow,
                                          int startColumn, LayoutOpening* opening)
{
    LayoutOpening o = LayoutDocument::read(settings, LayoutKind::Label);
    o.state.honorific = honorific;
    o.state.recipientPostMark = recipientPostMark;
    if (opening)
        *opening = o;
    return fromLayout(o.state, records, settings.csv, settings.sender, startRow, startColumn);
}

bool LabelSnapshot::operator==(const LabelSnapshot& o) const
{
    return LayoutSnapshot::operator==(o) && sheet == o.sheet && labelHeight == o.labelHeight
        && labelWidth == o.labelWidth && startRow == o.startRow && startColumn == o.startColumn;
}
