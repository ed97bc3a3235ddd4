// Stamp pictures: every kind the stamp dialog offers loads and draws where it is asked to;
// missing, damaged and foreign files fail with a reason and never take the program down.

#include "PreviewTestSupport.h"

#include "preview/JpegDecoder.h"
#include "preview/PageCanvas.h"
#include "preview/PictureFile.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace previewtest;

namespace {

void put32(QByteArray& b, quint32 v)
{
    char buf[4];
    qToLittleEndian(v, buf);
    b.append(buf, 4);
}

// A small enhanced metafile: header, a black stock brush and a rectangle filling the
// left half of a 100 x 100 frame, end of file.
QByteArray makeEmf()
{
    QByteArray body;
    // EMR_SELECTOBJECT (37) with BLACK_BRUSH (stock object 4)
    put32(body, 37);
    put32(body, 12);
    put32(body, 0x80000004u);
    // EMR_RECTANGLE (43): left, top, right, bottom
    put32(body, 43);
    put32(body, 24);
    put32(body, 0);
    put32(body, 0);
    put32(body, 50);
    put32(body, 100);
    // EMR_EOF (14)
    put32(body, 14);
    put32(body, 20);
    put32(body, 0);
    put32(body, 16);
    put32(body, 20);

    QByteArray h;
    put32(h, 1);   // EMR_HEADER
    put32(h, 88);  // size
    put32(h, 0); put32(h, 0); put32(h, 100); put32(h, 100);        // bounds, device units
    put32(h, 0); put32(h, 0); put32(h, 2540); put32(h, 2540);      // frame, 0.01 mm
    put32(h, 0x464D4520u);                                          // " EMF"
    put32(h, 0x10000);                                              // version
    put32(h, quint32(88 + body.size()));                            // bytes
    put32(h, 4);                                                    // records
    put32(h, 1);                                                    // handles (16) + reserved (16)
    put32(h, 0); put32(h, 0); put32(h, 0);                          // description, palette
    put32(h, 100); put32(h, 100);                                   // device pixels
    put32(h, 25); put32(h, 25);                                     // device millimetres
    return h + body;
}

QImage checkerboard()
{
    QImage img(64, 48, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.fillRect(0, 0, 32, 24, Qt::black);
    p.fillRect(32, 24, 32, 24, Qt::black);
    return img;
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

TEST(PictureFile, EveryKindLoadsAndDrawsIntoItsRectangle)
{
    QTemporaryDir dir;
    const QImage board = checkerboard();
    struct Case { const char* label; QString name; QByteArray format; PictureFile::Kind kind; };
    const Case cases[] = {
        { "bitmap", QStringLiteral("stamp.bmp"), "BMP", PictureFile::Kind::Bitmap },
        { "icon", QStringLiteral("stamp.ico"), "ICO", PictureFile::Kind::Icon },
        { "JPEG .JPG", QStringLiteral("STAMP.JPG"), "JPEG", PictureFile::Kind::Jpeg },
        { "JPEG .jpg", QStringLiteral("stamp.jpg"), "JPEG", PictureFile::Kind::Jpeg },
        { "JPEG .jpeg", QStringLiteral("stamp.jpeg"), "JPEG", PictureFile::Kind::Jpeg },
        { "JPEG named .bmp", QStringLiteral("really-a-jpeg.bmp"), "JPEG", PictureFile::Kind::Jpeg },
        { "metafile", QStringLiteral("stamp.emf"), QByteArray(), PictureFile::Kind::Metafile },
    };
    for (const Case& c : cases) {
        const QString path = dir.filePath(c.name);
        if (c.format.isEmpty()) {
            ASSERT_TRUE(writeBytes(path, makeEmf()));
        } else {
            QImageWriter w(path, c.format);
            if (c.format == "JPEG")
                w.setQuality(95);
            ASSERT_TRUE(w.write(board)) << c.label << ": " << w.errorString().toStdString();
        }
        const PictureFile pic = PictureFile::load(path);
        ASSERT_FALSE(pic.isNull()) << c.label << ": " << pic.errorString().toStdString();
        EXPECT_EQ(pic.kind(), c.kind) << c.label;
        EXPECT_TRUE(pic.errorString().isEmpty());

        PageRecording rec;
        PageCanvas canvas(&rec, 1000, 1000);
        canvas.DrawPicture(200, 400, 300, 450, 1, pic);
        ASSERT_EQ(rec.size(), 1) << c.label;
        EXPECT_EQ(rec.ops()[0].rect, QRectF(200, 300, 200, 150)) << c.label;
        const QImage page = renderAtUnitScale(rec);
        // The picture's dark parts land in the rectangle and nowhere else.
        const QRect ink = inkBox(page, page.rect());
        ASSERT_FALSE(ink.isEmpty()) << c.label;
        EXPECT_TRUE(QRect(199, 299, 203, 153).contains(ink)) << c.label;
        if (c.kind == PictureFile::Kind::Metafile) {
            // The rectangle fills the left half of the picture.
            EXPECT_NEAR(ink.left(), 200, 3);
            EXPECT_NEAR(ink.right(), 300, 4);
            EXPECT_NEAR(ink.height(), 150, 4);
        } else {
            // Black top-left and bottom-right quarters of the checkerboard.
            EXPECT_LT(qGray(page.pixel(250, 330)), 80) << c.label;
            EXPECT_GT(qGray(page.pixel(350, 330)), 180) << c.label;
            EXPECT_LT(qGray(page.pixel(350, 420)), 80) << c.label;
        }
    }
}

TEST(PictureFile, FailuresComeWithAReasonAndNoPicture)
{
    QTemporaryDir dir;
    const QImage board = checkerboard();
    QByteArray jpeg;
    {
        QBuffer b(&jpeg);
        b.open(QIODevice::WriteOnly);
        ASSERT_TRUE(board.save(&b, "JPEG"));
    }
    QByteArray bmp;
    {
        QBuffer b(&bmp);
        b.open(QIODevice::WriteOnly);
        ASSERT_TRUE(board.save(&b, "BMP"));
    }
    const QByteArray emf = makeEmf();
    QByteArray emfNoEnd = emf;
    emfNoEnd.chop(20);
    QByteArray emfBadSize = emf;
    qToLittleEndian<quint32>(4000, emfBadSize.data() + 88 + 4); // a record claiming to run past the end

    struct Case { const char* label; QString name; QByteArray bytes; bool write; };
    const Case cases[] = {
        { "missing", QStringLiteral("gone.JPG"), QByteArray(), false },
        { "empty", QStringLiteral("empty.bmp"), QByteArray(), true },
        { "JPEG cut in half", QStringLiteral("half.JPG"), jpeg.left(jpeg.size() / 2), true },
        { "JPEG header only", QStringLiteral("head.JPG"), jpeg.left(200), true },
        { "JPEG cut, other name", QStringLiteral("half.jpeg"), jpeg.left(jpeg.size() / 2), true },
        { "bitmap cut in half", QStringLiteral("half.bmp"), bmp.left(bmp.size() / 2), true },
        { "bitmap header only", QStringLiteral("head.bmp"), bmp.left(20), true },
        { "text with a picture name", QStringLiteral("notes.JPG"), QByteArray("not a picture\n"), true },
        { "garbage", QStringLiteral("noise.ico"), QByteArray(3000, '\x5a'), true },
        { "metafile without its end", QStringLiteral("cut.emf"), emfNoEnd, true },
        { "metafile with a bad record", QStringLiteral("bad.emf"), emfBadSize, true },
        { "metafile header only", QStringLiteral("head.emf"), emf.left(90), true },
    };
    for (const Case& c : cases) {
        const QString path = dir.filePath(c.name);
        if (c.write) {
            ASSERT_TRUE(writeBytes(path, c.bytes) || c.bytes.isEmpty()) << c.label;
        }
        const PictureFile pic = PictureFile::load(path);
        EXPECT_TRUE(pic.isNull()) << c.label;
        EXPECT_FALSE(pic.errorString().isEmpty()) << c.label;
        EXPECT_TRUE(pic.image().isNull()) << c.label;

        PageRecording rec;
        PageCanvas canvas(&rec, 1000, 1000);
        canvas.DrawPicture(0, 100, 0, 100, 1, pic);
        EXPECT_TRUE(rec.isEmpty()) << c.label << ": a failed picture draws nothing";
    }
    EXPECT_EQ(PictureFile::load(dir.filePath(QStringLiteral("gone.JPG"))).errorString(),
              QStringLiteral("ファイルが見つかりません"));
}

TEST(PictureFile, OtherModesFitThePictureKeepingItsShape)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("wide.bmp"));
    QImage wide(200, 100, QImage::Format_RGB32);
    wide.fill(Qt::black);
    ASSERT_TRUE(wide.save(path, "BMP"));
    const PictureFile pic = PictureFile::load(path);
    ASSERT_FALSE(pic.isNull());
    struct Case { int mode; QRectF expected; };
    for (const Case c : { Case { 1, QRectF(100, 100, 400, 400) }, Case { 0, QRectF(100, 200, 400, 200) },
                          Case { 2, QRectF(100, 200, 400, 200) } }) {
        PageRecording rec;
        PageCanvas canvas(&rec, 1000, 1000);
        canvas.DrawPicture(100, 500, 100, 500, c.mode, pic);
        ASSERT_EQ(rec.size(), 1);
        EXPECT_EQ(rec.ops()[0].rect, c.expected) << "mode " << c.mode;
    }
}

TEST(JpegDecoder, ColourAndGreyPicturesDecodeAndBrokenOnesDoNot)
{
    QImage grey(40, 30, QImage::Format_Grayscale8);
    grey.fill(90);
    QImage colour(40, 30, QImage::Format_RGB32);
    colour.fill(QColor(200, 40, 40));
    for (const QImage& src : { grey, colour }) {
        QByteArray data;
        QBuffer b(&data);
        b.open(QIODevice::WriteOnly);
        ASSERT_TRUE(src.save(&b, "JPEG", 95));
        QString error;
        const QImage img = JpegDecoder::decode(data, &error);
        ASSERT_FALSE(img.isNull()) << error.toStdString();
        EXPECT_EQ(img.size(), src.size());
        const QColor mid = img.pixelColor(20, 15);
        const QColor want = src.pixelColor(20, 15);
        EXPECT_NEAR(mid.red(), want.red(), 6);
        EXPECT_NEAR(mid.green(), want.green(), 6);
        EXPECT_NEAR(mid.blue(), want.blue(), 6);

        for (int cut : { 2, 10, int(data.size() / 3), int(data.size() - 2) }) {
            QString why;
            EXPECT_TRUE(JpegDecoder::decode(data.left(cut), &why).isNull()) << "cut at " << cut;
            EXPECT_FALSE(why.isEmpty()) << "cut at " << cut;
        }
    }
}
