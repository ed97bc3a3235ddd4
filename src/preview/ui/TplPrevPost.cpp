#include "preview/ui/TplPrevPost.h"

TplPrevPost::TplPrevPost(QWidget* parent) : TplPrevForm(parent)
{
    setObjectName(QStringLiteral("plPrevPost"));
}
