#pragma once
// The tool bar glyphs of the preview window, drawn rather than loaded so that they stay
// sharp at any scale. Disabled looks come from QIcon.

#include <QIcon>

class PreviewGlyphs {
public:
    enum Glyph { Print, PrinterSetup, FirstPage, PriorPage, NextPage, LastPage, ZoomDown, ZoomUp,
                 PageWhole, PageWidth, Close };
    static constexpr int Size = 20;
    static QIcon icon(Glyph glyph);
};
