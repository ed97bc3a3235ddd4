#pragma once
// Control hints of the form "short|long": the short text is the tooltip, the long text
// the status tip (the base form's status bar shows it for the control under the mouse).
// A hint without "|" serves as both. The whole hint stays readable as hintOf(widget).

#include <QString>

class QWidget;

// The part before the first "|" (the whole hint when there is none).
QString shortHint(const QString& hint);
// The part after the first "|" (the whole hint when there is none).
QString longHint(const QString& hint);

// toolTip := short part, statusTip := long part.
void setHint(QWidget* widget, const QString& hint);
// The hint last given to setHint ("" when none).
QString hintOf(const QWidget* widget);
