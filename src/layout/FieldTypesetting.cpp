#include "layout/FieldTypesetting.h"

#include "layout/FieldGeometry.h"
#include "layout/KanjiNumerals.h"
#include "layout/LayoutComposer.h"
#include "preview/PageCanvas.h"
#include "preview/PageMath.h"

#include <algorithm>
#include <cmath>

namespace FieldTypesetting {

bool takesOptions(int field)
{
    switch (field) {
    case 2: case 3: case 4: case 5: case 8: case 9: case 10: case 11:
        return true;
    default:
        return false;
    }
}

QString displayText(int field, const FieldStyle& style, const QString& text, TextTarget target)
{
    if (!style.tate)
        return text;
    QString t = text;
    if (takesOptions(field))
        t = KanjiNumerals::convert(t, KanjiNumerals::styleFrom(style.kansuji), KanjiNumerals::hyphenFrom(style.hyphen));
    if (FieldTexts::replacesHyphens(field, target))
        t = FieldTexts::asciiHyphens(t);
    return t;
}

bool tateChuYoko(int field, const FieldStyle& style)
{
    return style.tate && style.tcy && takesOptions(field);
}

FittedSize fitSize(double full, int lengthTenths, bool fit, const std::function<qreal(double)>& lengthAt)
{
    FittedSize s;
    s.points = full;
    const qreal fullLength = lengthAt(full);
    if (fullLength <= lengthTenths)
        return s;
    // Step k gives full - k * step; the last step is half the size. A length grows with the
    // size, so the search starts at the step the full length suggests and walks from there to
    // the largest step that fits; every walk is bounded by the number of steps.
    const int last = int(full / 2 / kFitStep);
    auto fits = [&](int k) { return lengthAt(full - k * kFitStep) <= lengthTenths; };
    if (!fit || last < 1 || !fits(last)) {
        s.overflows = true;
        if (fit && last >= 1)
            s.points = full - last * kFitStep;
        return s;
    }
    const double guess = (full - full * lengthTenths / fullLength) / kFitStep;
    int k = int(std::clamp(std::ceil(guess), 1.0, double(last)));
    if (fits(k)) {
        while (k > 1 && fits(k - 1))
            --k;
    } else {
        do
            ++k;
        while (k < last && !fits(k));
    }
    s.points = full - k * kFitStep;
    return s;
}

Setting settle(PageCanvas& canvas, int field, const FieldStyle& style, int lengthTenths, const QString& text,
               TextTarget target, bool measure)
{
    Setting s;
    s.text = displayText(field, style, text, target);
    s.points = LayoutComposer::printPoints(style);
    s.tateChuYoko = tateChuYoko(field, style);
    const bool fit = style.fit && takesOptions(field);
    if ((!fit && !measure) || FieldTexts::isBlank(s.text))
        return s;

    const PageFont savedFont = canvas.font();
    const bool savedTcy = canvas.tateChuYoko();
    canvas.SetFontName(style.fontName);
    canvas.SetFontStyle(LayoutComposer::fontStyleFlags(style));
    canvas.SetTateChuYoko(s.tateChuYoko);
    auto lengthAt = [&](double points) {
        canvas.SetFontSize(points);
        return style.tate ? canvas.verticalLength(s.text) : canvas.textWidth(s.text);
    };
    auto thickness = [&](double points) {
        canvas.SetFontSize(points);
        return style.tate ? canvas.verticalColumnWidth() : canvas.textHeight();
    };

    const double full = s.points;
    const FittedSize fitted = fitSize(full, lengthTenths, fit, lengthAt);
    s.points = fitted.points;
    s.overflows = fitted.overflows;
    if (s.points != full)
        s.across = PageMath::HalfAway((thickness(full) - thickness(s.points)) / 2);
    canvas.SetFont(savedFont);
    canvas.SetTateChuYoko(savedTcy);
    return s;
}

} // namespace FieldTypesetting
