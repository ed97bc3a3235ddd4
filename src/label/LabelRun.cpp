#include "label/LabelRun.h"

#include "label/LabelComposer.h"
#include "layout/BarcodeCheck.h"


RunPaper LabelRun::paper() const
{
    return RunPaper{LabelGeometry::kSheetWidth, LabelGeometry::kSheetHeight, FormPaper::A4};
}

void LabelRun::drawPage(TplPrev& engine) const
{
    DrawLabelPage(engine, m_snapshot);
}

QStringList LabelRun::checkBeforePrinting() const
{
    const BarcodePiece label { false, m_snapshot.labelWidth, m_snapshot.labelHeight };
    return DescribeBarcodeFindings(CheckBarcodes(m_snapshot, label, m_snapshot.printedRecords()), label);
}
