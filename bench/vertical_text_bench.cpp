// Shaping and drawing one vertical address line, as the text boxes and the printed page do it.
#include "BenchMain.h"

#include "platform/JapaneseFonts.h"
#include "platform/VerticalText.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>


namespace {

// 30 characters: kanji, kana, full-width digits, a half-width Latin run and punctuation.
const QString kLine = QStringLiteral("東京都千代田区丸の内一丁目２－３　ＡＢＣビル 101号室ー。");

void shapeAndDraw(benchmark::State& state, const QString& face, qreal px, qreal scale)
{
    QImage image(int(200 * scale), int(1000 * scale), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(scale, scale);
    painter.setPen(Qt::black);
    const QFont font = JapaneseFonts::font(face, px, false, false);
    const bool upright = JapaneseFonts::isVerticalFace(face);
    for (auto _ : state) {
        VerticalText vt(font, kLine, upright);
        vt.draw(&painter, 50, 10);
        benchmark::DoNotOptimize(vt.length());
    }
    state.counters["chars"] = kLine.size();
}

void BM_VerticalScreen(benchmark::State& state)
{
    shapeAndDraw(state, QStringLiteral("@ＭＳ 明朝"), JapaneseFonts::screenPixelSize(14), 1.0);
}
BENCHMARK(BM_VerticalScreen)->Unit(benchmark::kMicrosecond);

// 0.1 mm units drawn at 600 dpi, as a printed page.
void BM_VerticalPage600dpi(benchmark::State& state)
{
    shapeAndDraw(state, QStringLiteral("@ＭＳ 明朝"), 49, 600 / 254.0);
}
BENCHMARK(BM_VerticalPage600dpi)->Unit(benchmark::kMicrosecond);

void BM_TurnedScreen(benchmark::State& state)
{
    shapeAndDraw(state, QStringLiteral("ＭＳ 明朝"), JapaneseFonts::screenPixelSize(14), 1.0);
}
BENCHMARK(BM_TurnedScreen)->Unit(benchmark::kMicrosecond);

// For comparison: Qt's own horizontal text with the same font at 600 dpi. Glyphs this large are
// drawn as outlines by Qt's raster engine, whichever way they are laid out.
void BM_QtHorizontalPage600dpi(benchmark::State& state)
{
    QImage image(int(1000 * 600 / 254.0), int(200 * 600 / 254.0), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(600 / 254.0, 600 / 254.0);
    painter.setFont(JapaneseFonts::font(QStringLiteral("ＭＳ 明朝"), 49, false, false));
    for (auto _ : state)
        painter.drawText(QPointF(10, 100), kLine);
}
BENCHMARK(BM_QtHorizontalPage600dpi)->Unit(benchmark::kMicrosecond);

void BM_LayoutOnly(benchmark::State& state)
{
    const QFont font = JapaneseFonts::font(QStringLiteral("@ＭＳ 明朝"), 19, false, false);
    for (auto _ : state) {
        VerticalText vt(font, kLine, true);
        benchmark::DoNotOptimize(vt.length());
    }
}
BENCHMARK(BM_LayoutOnly)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    benchmain::prepare();
    QGuiApplication app(argc, argv);
    return benchmain::run(argc, argv);
}
