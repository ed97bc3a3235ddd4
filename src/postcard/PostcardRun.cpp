#include "postcard/PostcardRun.h"

#include "layout/BarcodeCheck.h"
#include "postcard/PostcardComposer.h"

RunPaper PostcardRun::paper() const
{
    return RunPaper{1000, 1480, FormPaper::Postcard};
}

void PostcardRun::drawPage(TplPrev& engine) const
{
    DrawPostcardPage(engine, m_snapshot);
}

QStringList PostcardRun::checkBeforePrinting() const
{
    const BarcodePiece card { true, paper().width, paper().height };
    return DescribeBarcodeFindings(CheckBarcodes(m_snapshot, card, m_snapshot.printedRecords()), card);
}
