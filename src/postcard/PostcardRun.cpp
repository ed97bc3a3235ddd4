#include "postcard/PostcardRun.h"

#include "postcard/PostcardComposer.h"

RunPaper PostcardRun::paper() const
{
    return RunPaper{1000, 1480, FormPaper::Postcard};
}

void PostcardRun::drawPage(TplPrev& engine) const
{
    DrawPostcardPage(engine, m_snapshot);
}

PrintCheckReport PostcardRun::check() const
{
    return CheckPostcardRun(m_snapshot);
}

QStringList PostcardRun::checkBeforePrinting() const
{
    return check().lines();
}
