#include "preview/PrintRun.h"

#include "preview/TplPrev.h"

void PrintRun::prepare(TplPrev& engine) const
{
    engine.setTitle(title());
    engine.setPageCount(pageCount());
}
