#pragma once
// A page routine like the postcard's: a JPEG stamp, the recipient postal code in its boxes,
// the sender postal code in 4 mm cells, a vertical address and names, and horizontal
// contact lines (15 text items in all). Used by the engine tests and the benchmark.

#include "preview/TplPrev.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QString>

namespace samplepages {

// Writes a stamp picture as a JPEG with the upper-case extension the stamp dialog produces.
inline bool writeStampJpeg(const QString& fileName)
{
    QImage img(190, 230, QImage::Format_RGB32);
    img.fill(QColor(250, 250, 245));
    QPainter p(&img);
    p.setPen(QPen(QColor(200, 30, 30), 6));
    p.drawRect(10, 10, 170, 210);
    p.setBrush(QColor(40, 70, 160));
    p.drawEllipse(45, 60, 100, 100);
    p.end();
    return img.save(fileName, "JPEG", 90);
}

// The text items of one card; record selects the recipient.
inline void drawPostcard(TplPrev& e, const QString& stampFile, int record = 0)
{
    const QString postal[] = { QStringLiteral("〒123-4567"), QStringLiteral("１００－０００１"),
                               QStringLiteral("060-8588") };
    const QString names[] = { QStringLiteral("山田　太郎"), QStringLiteral("鈴木　一郎"),
                              QStringLiteral("高橋　花子") };
    const int r = record % 3;

    if (!stampFile.isEmpty())
        e.DrawImage(64, 265, 64, 302, 1, stampFile);

    e.SetFontStyle(0);
    e.SetFontSize(16);
    e.SetFontName(QStringLiteral("ＭＳ 明朝"));
    e.DrawPostalCode(postal[r], 0, 0, false, 0, 255);

    e.SetFontSize(10);
    e.SetFontName(QStringLiteral("ＭＳ 明朝"));
    e.TextSpaced(56, 56 + 120, 1260, 1260 + 65, 3, QStringLiteral("530"));
    e.TextSpaced(56 + 130, 56 + 290, 1260, 1260 + 65, 4, QStringLiteral("0001"));

    // Recipient, vertical.
    e.SetFontName(QStringLiteral("@ＭＳ 明朝"));
    e.SetFontSize(16);
    e.TextVTop(780, 280, 1250, QStringLiteral("東京都千代田区千代田一丁目1番1号"));
    e.SetFontSize(14);
    e.TextVTop(700, 420, 1250, QStringLiteral("グランドハイツ１０２号室"));
    e.SetFontSize(28);
    e.TextVCenter(480, 300, 1200, names[r] + QStringLiteral("　様"));
    e.SetFontSize(22);
    e.TextVCenter(390, 400, 1200, QStringLiteral("　　　　花子　様"));

    // Sender, vertical, at the lower left.
    e.SetFontSize(9);
    e.TextVBottom(290, 700, 1240, QStringLiteral("大阪府大阪市北区梅田3-1-1"));
    e.TextVBottom(250, 760, 1240, QStringLiteral("梅田ビル5階"));
    e.SetFontSize(12);
    e.TextVBottom(190, 760, 1240, QStringLiteral("佐藤　次郎"));
    e.TextVBottom(140, 760, 1240, QStringLiteral("　　　恵子"));

    // Horizontal lines.
    e.SetFontName(QStringLiteral("ＭＳ ゴシック"));
    e.SetFontSize(7);
    e.TextLeft(60, 460, 1360, 1390, QStringLiteral("Tel 06-1234-5678"));
    e.TextLeft(60, 460, 1390, 1420, QStringLiteral("Fax 06-1234-5679"));
    e.TextRight(540, 940, 1360, 1390, QStringLiteral("EMail sato@example.jp"));
    e.TextRight(540, 940, 1390, 1420, QStringLiteral("URL https://example.jp/"));
    e.TextCenter(300, 700, 1330, 1360, QStringLiteral("1234567-8-9-10"));
}

} // namespace samplepages
