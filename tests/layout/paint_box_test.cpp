#include "layout/ui/TImageEL.h"
#include "layout/ui/TPaintBoxEL.h"

#include <QEnterEvent>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <functional>

namespace {

struct SetterCase {
    const char* name;
    std::function<void(TPaintBoxEL&)> setSame;
    std::function<void(TPaintBoxEL&)> setOther;
};

TEST(TPaintBoxEL, SettersFireChangeOnlyWhenTheValueChanges)
{
    const SetterCase cases[] = {
        {"Tate", [](TPaintBoxEL& b) { b.setTate(false); }, [](TPaintBoxEL& b) { b.setTate(true); }},
        {"Bold", [](TPaintBoxEL& b) { b.setBold(false); }, [](TPaintBoxEL& b) { b.setBold(true); }},
        {"Ita", [](TPaintBoxEL& b) { b.setIta(false); }, [](TPaintBoxEL& b) { b.setIta(true); }},
        {"Moji", [](TPaintBoxEL& b) { b.setMoji(QString()); }, [](TPaintBoxEL& b) { b.setMoji(QStringLiteral("様")); }},
        {"Post", [](TPaintBoxEL& b) { b.setPost(false); }, [](TPaintBoxEL& b) { b.setPost(true); }},
        {"FontSize", [](TPaintBoxEL& b) { b.setFontSize(9); }, [](TPaintBoxEL& b) { b.setFontSize(12); }},
        {"LineColor", [](TPaintBoxEL& b) { b.setLineColor(QColor(128, 128, 128)); },
         [](TPaintBoxEL& b) { b.setLineColor(QColor(0, 0, 255)); }},
        {"Alignment", [](TPaintBoxEL& b) { b.setAlignment(TPaintBoxEL::taLeftJustify); },
         [](TPaintBoxEL& b) { b.setAlignment(TPaintBoxEL::taCenter); }},
    };
    for (const SetterCase& c : cases) {
        TPaintBoxEL box;
        QSignalSpy spy(&box, &TPaintBoxEL::Change);
        c.setSame(box); // the defaults
        EXPECT_EQ(spy.count(), 0) << c.name;
        c.setOther(box);
        ASSERT_EQ(spy.count(), 1) << c.name;
        EXPECT_EQ(spy.at(0).at(0).value<TPaintBoxEL*>(), &box) << c.name;
        c.setOther(box);
        EXPECT_EQ(spy.count(), 1) << c.name;
        c.setSame(box);
        EXPECT_EQ(spy.count(), 2) << c.name;
    }
}

TEST(TPaintBoxEL, TurningSwapsWidthAndHeightBeforeChangeFires)
{
    TPaintBoxEL box;
    box.setGeometry(10, 20, 200, 20);
    QSize seen;
    QObject::connect(&box, &TPaintBoxEL::Change, [&](TPaintBoxEL* b) { seen = b->size(); });
    box.setTate(true);
    EXPECT_EQ(box.size(), QSize(20, 200));
    EXPECT_EQ(seen, QSize(20, 200));
    EXPECT_EQ(box.pos(), QPoint(10, 20));
    box.setTate(true); // no change, no swap
    EXPECT_EQ(box.size(), QSize(20, 200));
    box.setTate(false);
    EXPECT_EQ(box.size(), QSize(200, 20));
}

TEST(TPaintBoxEL, StoredAlignmentMapsToTheControlsOrder)
{
    const struct {
        int stored;
        TPaintBoxEL::TAlignment control;
    } cases[] = {{0, TPaintBoxEL::taLeftJustify}, {1, TPaintBoxEL::taCenter}, {2, TPaintBoxEL::taRightJustify}};
    for (const auto& c : cases) {
        EXPECT_EQ(TPaintBoxEL::alignmentFromStored(c.stored), c.control);
        EXPECT_EQ(TPaintBoxEL::storedAlignment(c.control), c.stored);
    }
    // Values a hand-edited settings file may hold are read as left.
    EXPECT_EQ(TPaintBoxEL::alignmentFromStored(7), TPaintBoxEL::taLeftJustify);
    EXPECT_EQ(TPaintBoxEL::alignmentFromStored(-1), TPaintBoxEL::taLeftJustify);
    EXPECT_EQ(int(TPaintBoxEL::taLeftJustify), 0);
    EXPECT_EQ(int(TPaintBoxEL::taRightJustify), 1);
    EXPECT_EQ(int(TPaintBoxEL::taCenter), 2);
}

TEST(TPaintBoxEL, MouseEnterAndLeaveAreReported)
{
    TPaintBoxEL box;
    QSignalSpy enter(&box, &TPaintBoxEL::OnMouseEnter);
    QSignalSpy leave(&box, &TPaintBoxEL::OnMouseLeave);
    QEnterEvent e(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(&box, &e);
    QEvent l(QEvent::Leave);
    QCoreApplication::sendEvent(&box, &l);
    EXPECT_EQ(enter.count(), 1);
    EXPECT_EQ(leave.count(), 1);
}

TEST(TPaintBoxEL, DrawsNothingButWhatItsHandlerDraws)
{
    QWidget parent;
    parent.resize(100, 100);
    parent.setAutoFillBackground(true);
    QPalette pal;
    pal.setColor(QPalette::Window, Qt::yellow);
    parent.setPalette(pal);
    auto* box = new TPaintBoxEL(&parent);
    box->setGeometry(10, 10, 50, 50);
    QImage unpainted = parent.grab().toImage();
    // Windowless: the parent shows through.
    EXPECT_EQ(unpainted.pixelColor(30, 30), QColor(Qt::yellow));
    box->setOnPaint([](TPaintBoxEL* b, QPainter& p) { p.fillRect(0, 0, b->width() / 2, b->height(), Qt::red); });
    QImage painted = parent.grab().toImage();
    EXPECT_EQ(painted.pixelColor(15, 30), QColor(Qt::red));
    EXPECT_EQ(painted.pixelColor(50, 30), QColor(Qt::yellow));
}

TEST(TImageEL, StretchesOrKeepsTheNaturalSize)
{
    QImage picture(10, 10, QImage::Format_ARGB32);
    picture.fill(Qt::blue);
    QWidget parent;
    parent.resize(100, 100);
    auto* image = new TImageEL(&parent);
    QSignalSpy enter(image, &TImageEL::OnMouseEnter);
    image->setGeometry(0, 0, 40, 40);
    image->setPicture(picture);
    EXPECT_EQ(image->naturalSize(), QSize(10, 10));
    QImage natural = parent.grab().toImage();
    EXPECT_EQ(natural.pixelColor(5, 5), QColor(Qt::blue));
    EXPECT_NE(natural.pixelColor(30, 30), QColor(Qt::blue));
    image->setStretch(true);
    QImage stretched = parent.grab().toImage();
    EXPECT_EQ(stretched.pixelColor(30, 30), QColor(Qt::blue));
    EXPECT_NE(stretched.pixelColor(45, 45), QColor(Qt::blue));
    image->autoSize();
    EXPECT_EQ(image->size(), QSize(10, 10));
    image->clear();
    EXPECT_FALSE(image->hasPicture());

    QEnterEvent e(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(image, &e);
    EXPECT_EQ(enter.count(), 1);
}

TEST(TImageEL, VectorPicturesDrawIntoTheirTarget)
{
    QWidget parent;
    parent.resize(100, 100);
    auto* image = new TImageEL(&parent);
    image->setGeometry(0, 0, 80, 40);
    QRectF target;
    image->setPicture([&](QPainter& p, const QRectF& r) {
        target = r;
        p.fillRect(r, Qt::green);
    },
                      QSize(20, 10));
    image->setStretch(true);
    parent.grab();
    EXPECT_EQ(target, QRectF(0, 0, 80, 40));
    image->setStretch(false);
    parent.grab();
    EXPECT_EQ(target, QRectF(0, 0, 20, 10));
}

} // namespace
