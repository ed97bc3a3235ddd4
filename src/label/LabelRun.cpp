#include "label/LabelRun.h"

#include "label/LabelComposer.h"

RunPaper LabelRun::paper() const
{
    return RunPaper{LabelGeometry::kSheetWidth, LabelGeometry::kSheetHeight, FormPaper::A4};
}

void LabelRun::drawPage(TplPrev& engine) const
{
    DrawLabelPage(engine, m_snapshot);
}

PrintCheckReport LabelRun::check() const
{
    return CheckLabelRun(m_snapshot);
}

QStringList LabelRun::checkBeforePrinting() const
{
    return check().lines();
}
