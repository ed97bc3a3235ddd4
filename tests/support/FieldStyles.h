#pragma once
// A layout field placed as a test wants it.

#include "app/AppSettings.h"

#include <QString>

namespace teststyles {

// Visible, 12 points, at `left`, `top`, `length` pixels long; the face when none is given is
// "ＭＳ 明朝" ("@ＭＳ 明朝" for a vertical field when `verticalFace`).
inline FieldStyle placedField(int left, int top, int length, bool tate = false, bool visible = true,
                              const QString& face = QString(), int size = 12, bool verticalFace = true)
{
    FieldStyle f;
    f.fontName = !face.isEmpty() ? face
        : tate && verticalFace   ? QStringLiteral("@ＭＳ 明朝")
                                 : QStringLiteral("ＭＳ 明朝");
    f.fontSize = size;
    f.tate = tate;
    f.left = left;
    f.top = top;
    f.width = length;
    f.visible = visible;
    return f;
}

} // namespace teststyles
