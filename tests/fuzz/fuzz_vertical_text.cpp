// The vertical-text shaper on arbitrary Unicode (lone surrogates, combining marks, variation
// selectors, characters beyond the BMP, very long lines), in an "@" face (Japanese vertical
// writing) and in a plain face (the line turned), as the engine's TextV* operations use it.
// The first byte chooses the face, the size and the style; the rest is UTF-16 text.

#include "FuzzSupport.h"

#include "platform/JapaneseFonts.h"
#include "platform/VerticalText.h"

#include <QImage>
#include <QPainter>

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ensureApplication();
    fuzz::Input in(data, size);
    static const char16_t* const kFaces[] = { u"@ＭＳ 明朝", u"@ＭＳ ゴシック", u"ＭＳ Ｐ明朝", u"ＭＳ ゴシック" };
    const uint8_t choice = in.byte();
    const QString face = QString::fromUtf16(kFaces[choice & 3]);
    const qreal pixelSize = 4 + (choice >> 2 & 7) * 9;
    const QByteArray raw = in.rest();
    const QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(raw.constData()), raw.size() / 2);

    const QFont font = JapaneseFonts::font(face, pixelSize, choice & 0x20, choice & 0x40);
    const VerticalText column(font, text, JapaneseFonts::isVerticalFace(face));
    FUZZ_CHECK(std::isfinite(column.columnWidth()) && column.columnWidth() >= 0);
    FUZZ_CHECK(std::isfinite(column.length()) && column.length() >= 0);
    qsizetype characters = 0;
    for (const VerticalText::Run& run : column.runs()) {
        FUZZ_CHECK(std::isfinite(run.start) && std::isfinite(run.advance));
        characters += run.text.size();
    }
    FUZZ_CHECK(characters <= text.size());

    QImage image(48, 96, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    column.draw(&painter, 4, 2);
    return 0;
}
