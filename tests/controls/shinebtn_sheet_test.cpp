// Every look of the button in every frame type, with and without gradient, and every
// glyph effect, rendered side by side. The sheet is written to the build directory
// (shinebtn-sheet.png) for a person to look at; the test checks that no two looks of
// one row paint alike.

#include "controls/Glyphs.h"
#include "controls/TShineBtn.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <vector>

namespace {

using Look = TShineBtn::Look;

const Look kLooks[] = { Look::Normal, Look::Hover, Look::HoverPressed, Look::Pressed, Look::Disabled };
const char* const kLookNames[] = { "Normal", "Hover", "HoverPressed", "Pressed", "Disabled" };

struct Sheet {
    static constexpr int kCellW = 110;
    static constexpr int kCellH = 44;
    static constexpr int kLabelW = 170;
    QImage image;
    int rows = 0;

    Sheet(int rowCount, int columns)
        : image(kLabelW + columns * kCellW, 24 + rowCount * kCellH, QImage::Format_RGB32)
    {
        image.fill(QColor(0xE8, 0xE8, 0xE8));
    }
    void header(const std::vector<QString>& names)
    {
        QPainter p(&image);
        for (size_t i = 0; i < names.size(); ++i)
            p.drawText(QRect(kLabelW + int(i) * kCellW, 0, kCellW, 22), Qt::AlignCenter, names[i]);
    }
    void row(const QString& label, const std::vector<QImage>& cells)
    {
        QPainter p(&image);
        const int y = 24 + rows * kCellH;
        p.drawText(QRect(4, y, kLabelW - 8, kCellH), Qt::AlignVCenter | Qt::AlignLeft, label);
        for (size_t i = 0; i < cells.size(); ++i)
            p.drawImage(kLabelW + int(i) * kCellW + 8, y + 6, cells[i]);
        ++rows;
    }
};

void expectAllDistinct(const std::vector<QImage>& cells, const QString& row)
{
    for (size_t i = 0; i < cells.size(); ++i)
        for (size_t j = i + 1; j < cells.size(); ++j)
            EXPECT_NE(cells[i], cells[j]) << row.toStdString() << ": cells " << i << " and " << j;
}

void sampleButton(TShineBtn& b)
{
    b.resize(92, 30);
    b.setGlyph(Glyphs::get(QStringLiteral("print")));
    b.setText(QStringLiteral("印　刷"));
}

} // namespace

TEST(TShineBtnSheet, LooksFramesAndEffects)
{
    Sheet sheet(6 + 2 + 2 + 2, 8);
    std::vector<QString> lookNames;
    for (const char* n : kLookNames)
        lookNames.push_back(QString::fromLatin1(n));
    sheet.header(lookNames);

    const std::pair<TFrameType, const char*> frames[] = {
        { ftFlatFrame, "ftFlatFrame" }, { ftNormalFrame, "ftNormalFrame" }, { ftEnclosedFrame, "ftEnclosedFrame" } };
    for (bool gradient : { false, true }) {
        std::vector<QImage> firstOfRow;
        for (const auto& [type, name] : frames) {
            TShineBtn b;
            sampleButton(b);
            b.setFrameType(type);
            if (gradient) {
                for (TShineBtnColors* set : { b.colors(), b.pressedColors() }) {
                    set->setGradation(true);
                    set->setGradVertical(true);
                    set->setGradColor(0xC08040);
                }
            }
            std::vector<QImage> cells;
            for (Look look : kLooks)
                cells.push_back(b.renderLook(look));
            const QString label = QString::fromLatin1(name) + (gradient ? QStringLiteral(" + gradient") : QString());
            expectAllDistinct(cells, label);
            sheet.row(label, cells);
        }
    }

    // Mouse-over colours of their own.
    for (TFrameType type : { ftNormalFrame, ftEnclosedFrame }) {
        TShineBtn b;
        sampleButton(b);
        b.setFrameType(type);
        b.setActiveColorsEnabled(true);
        b.activeColors()->setColor(0xFFE0C0);
        b.activeColors()->setDarkShadow(0x800000);
        b.setFontShadow(0xC0C0C0);
        std::vector<QImage> cells;
        for (Look look : kLooks)
            cells.push_back(b.renderLook(look));
        expectAllDistinct(cells, QStringLiteral("active colours"));
        sheet.row(type == ftNormalFrame ? QStringLiteral("ActiveColors, normal") : QStringLiteral("ActiveColors, enclosed"),
            cells);
    }

    // The eight mouse-over effects, then the decorations in the Normal look.
    {
        std::vector<QImage> cells;
        for (int t = aiNoLight; t <= aiMaskLight; ++t) {
            TShineBtn b;
            sampleButton(b);
            b.setActiveImage(TActiveImageType(t));
            cells.push_back(b.renderLook(Look::Hover));
        }
        expectAllDistinct(cells, QStringLiteral("ActiveImage"));
        sheet.row(QStringLiteral("ActiveImage ai*"), cells);
    }
    {
        std::vector<QImage> cells;
        for (int t = diDefault; t <= diMaskTrans; ++t) {
            TShineBtn b;
            sampleButton(b);
            b.setUpImage(TDecorationImageType(t));
            cells.push_back(b.renderLook(Look::Normal));
        }
        expectAllDistinct(cells, QStringLiteral("UpImage"));
        sheet.row(QStringLiteral("UpImage di*"), cells);
    }

    // The glyph library on plain buttons.
    const QStringList names = Glyphs::names();
    for (int r = 0; r < 2; ++r) {
        std::vector<QImage> cells;
        for (int i = r * 14; i < qMin<int>(names.size(), r * 14 + 14); i += 2) {
            QImage pair(96, 30, QImage::Format_RGB32);
            pair.fill(QColor(0xE8, 0xE8, 0xE8));
            QPainter p(&pair);
            for (int k = 0; k < 2 && i + k < names.size(); ++k) {
                TShineBtn b;
                b.setGlyph(Glyphs::get(names[i + k]));
                p.drawImage(k * 34, 2, b.renderLook(Look::Normal));
            }
            cells.push_back(pair);
        }
        sheet.row(r == 0 ? QStringLiteral("glyphs") : QString(), cells);
    }

    const QString path = QStringLiteral(TOVALIN_BINARY_DIR "/shinebtn-sheet.png");
    // twice the size, pixel for pixel, so that frames can be told apart
    const QImage big = sheet.image.scaled(sheet.image.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    EXPECT_TRUE(big.save(path)) << path.toStdString();
}
