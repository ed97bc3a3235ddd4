#include "platform/WinColor.h"

#include <QGuiApplication>

namespace WinColor {

QPalette::ColorRole paletteRole(TColor color)
{
    if (!isSystem(color))
        return QPalette::NoRole;
    switch (color) {
    case clScrollBar: return QPalette::Midlight;
    case clBackground: return QPalette::Window;
    case clActiveCaption: return QPalette::Highlight;
    case clInactiveCaption: return QPalette::Mid;
    case clMenu: return QPalette::Window;
    case clWindow: return QPalette::Base;
    case clWindowFrame: return QPalette::Shadow;
    case clMenuText: return QPalette::WindowText;
    case clWindowText: return QPalette::WindowText;
    case clCaptionText: return QPalette::HighlightedText;
    case clActiveBorder: return QPalette::Window;
    case clInactiveBorder: return QPalette::Window;
    case clAppWorkSpace: return QPalette::Mid;
    case clHighlight: return QPalette::Highlight;
    case clHighlightText: return QPalette::HighlightedText;
    case clBtnFace: return QPalette::Button;
    case clBtnShadow: return QPalette::Dark;
    case clGrayText: return QPalette::Text;
    case clBtnText: return QPalette::ButtonText;
    case clInactiveCaptionText: return QPalette::WindowText;
    case clBtnHighlight: return QPalette::Light;
    case cl3DDkShadow: return QPalette::Shadow;
    case cl3DLight: return QPalette::Midlight;
    case clInfoText: return QPalette::ToolTipText;
    case clInfoBk: return QPalette::ToolTipBase;
    default: return QPalette::NoRole;
    }
}

QColor toQColor(TColor color, const QPalette& palette)
{
    if (isSystem(color)) {
        const QPalette::ColorRole role = paletteRole(color);
        if (role == QPalette::NoRole)
            return QColor();
        // Grey text is what the palette shows for disabled text.
        const QPalette::ColorGroup group = color == clGrayText ? QPalette::Disabled : QPalette::Active;
        QColor c = palette.color(group, role);
        c.setAlpha(255);
        return c;
    }
    if (color > 0xFFFFFFu)
        return QColor();
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

QColor toQColor(TColor color)
{
    return toQColor(color, QGuiApplication::palette());
}

TColor fromQColor(const QColor& color)
{
    const QColor c = color.toRgb();
    return rgb(c.red(), c.green(), c.blue());
}

} // namespace WinColor
