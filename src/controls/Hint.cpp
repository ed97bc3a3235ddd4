#include "controls/Hint.h"

#include <QVariant>
#include <QWidget>

namespace {
const char* const kHintProperty = "tovalinHint";
}

QString shortHint(const QString& hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.left(bar);
}

QString longHint(const QString& hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

void setHint(QWidget* widget, const QString& hint)
{
    if (!widget)
        return;
    widget->setProperty(kHintProperty, hint);
    widget->setToolTip(shortHint(hint));
    widget->setStatusTip(longHint(hint));
}

QString hintOf(const QWidget* widget)
{
    return widget ? widget->property(kHintProperty).toString() : QString();
}
