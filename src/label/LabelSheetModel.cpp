#include "label/LabelSheetModel.h"

#include "layout/LayoutUnits.h"
#include "platform/Messages.h"

#include <algorithm>

namespace {

QString shown(SheetSetting setting, int value)
{
    if (setting == SheetSetting::Columns || setting == SheetSetting::Rows)
        return QString::number(value);
    return LayoutUnits::millimetres(value) + QStringLiteral("㎜");
}

} // namespace

QString LabelOpeningReport::message() const
{
    QStringList lines;
    if (!outOfRange.isEmpty()) {
        lines << QStringLiteral("保存されているラベル設定に範囲外の値があったため、範囲内の値に直しました。");
        QStringList changes;
        for (SheetSetting setting : outOfRange) {
            changes << QStringLiteral("%1 %2 → %3")
                           .arg(LabelGeometry::caption(setting),
                                shown(setting, LabelGeometry::value(stored, setting)),
                                shown(setting, LabelGeometry::value(used, setting)));
        }
        lines << changes.join(QStringLiteral("、"));
    }
    if (tooSmall) {
        lines << QStringLiteral("保存されているラベル設定では、ラベルが項目より小さくなります。")
              << QStringLiteral("項目をラベル内に収めました。ラベル設定か項目の大きさを見直して下さい。");
    }
    return lines.join(QStringLiteral("\r\n"));
}

LabelSheetModel::LabelSheetModel(const LabelSheet& sheet)
{
    load(sheet);
}

void LabelSheetModel::load(const LabelSheet& sheet, QVector<SheetSetting>* outOfRange)
{
    m_sheet = LabelGeometry::clamped(sheet, outOfRange);
    m_height = LabelGeometry::labelHeight(m_sheet);
    m_width = LabelGeometry::labelWidth(m_sheet);
    m_startRow = 1;
    m_startColumn = 1;
}

void LabelSheetModel::follow(const LabelSheet& sheet)
{
    m_sheet = sheet;
    m_height = LabelGeometry::labelHeight(m_sheet);
    m_width = LabelGeometry::labelWidth(m_sheet);
    m_startRow = std::clamp(m_startRow, 1, std::max(1, m_sheet.rows));
    m_startColumn = std::clamp(m_startColumn, 1, std::max(1, m_sheet.columns));
}

LabelGeometry::Check LabelSheetModel::ProposeSheetChange(SheetSetting setting, int proposed,
                                                         const LabelGeometry::Floor& floor)
{
    const LabelGeometry::Check c = LabelGeometry::check(m_sheet, setting, proposed, floor);
    if (c.verdict != LabelGeometry::Verdict::Allowed)
        return c;
    LabelGeometry::setValue(m_sheet, setting, c.value);
    m_height = c.height;
    m_width = c.width;
    if (setting == SheetSetting::Rows)
        m_startRow = std::min(m_startRow, c.value);
    else if (setting == SheetSetting::Columns)
        m_startColumn = std::min(m_startColumn, c.value);
    return c;
}

LabelGeometry::Check LabelSheetModel::ProposeSheet(const LabelSheet& sheet, const LabelGeometry::Floor& floor)
{
    const LabelSheet candidate = LabelGeometry::clamped(sheet);
    const LabelGeometry::Check c = LabelGeometry::checkSheet(candidate, floor);
    if (c.verdict != LabelGeometry::Verdict::Allowed)
        return c;
    m_sheet = candidate;
    m_height = c.height;
    m_width = c.width;
    m_startRow = std::min(m_startRow, candidate.rows);
    m_startColumn = std::min(m_startColumn, candidate.columns);
    return c;
}

bool LabelSheetModel::ProposeStartRow(int row)
{
    if (row < 1 || row > m_sheet.rows)
        return false;
    m_startRow = row;
    return true;
}

bool LabelSheetModel::ProposeStartColumn(int column)
{
    if (column < 1 || column > m_sheet.columns)
        return false;
    m_startColumn = column;
    return true;
}

QPoint LabelSheetModel::LabelOrigin(int row, int column) const
{
    return LabelGeometry::cellOrigin(m_sheet, m_height, m_width, row, column);
}
