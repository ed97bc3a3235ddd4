#include "layout/ui/LayoutFields.h"

#include "layout/FieldGeometry.h"
#include "layout/FieldTypesetting.h"
#include "layout/LayoutComposer.h"
#include "layout/LayoutUnits.h"
#include "layout/ui/TPaintBoxEL.h"
#include "preview/PageCanvas.h"
#include "platform/JapaneseFonts.h"
#include "platform/VerticalText.h"

#include "preview/PageRecording.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include <cmath>
#include <functional>

const QColor LayoutFields::kSelectedLine(0, 0, 255);
const QColor LayoutFields::kNormalLine(128, 128, 128);
const QColor LayoutFields::kOverflowLine(255, 0, 0);

namespace {

// Layout arithmetic halves toward zero ("div").
int halfTowardZero(qreal v)
{
    return int(std::trunc(v / 2));
}

// A name block on the card: it draws through its owner and hands the mouse to the name's box
// (in the box's coordinates), whose handlers then select and drag the field.
class BlockView : public QWidget {
public:
    BlockView(QWidget* card, std::function<void(QWidget*, QPainter&)> paint)
        : QWidget(card)
        , paint_(std::move(paint))
    {
        setMouseTracking(true);
        hide();
    }
    TPaintBoxEL* box = nullptr;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        paint_(this, p);
    }
    void mousePressEvent(QMouseEvent* e) override { pass(e); }
    void mouseDoubleClickEvent(QMouseEvent* e) override { pass(e); }
    void mouseMoveEvent(QMouseEvent* e) override { pass(e); }
    void mouseReleaseEvent(QMouseEvent* e) override { pass(e); }
    void leaveEvent(QEvent* e) override
    {
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(box, &leave);
        QWidget::leaveEvent(e);
    }

private:
    void pass(QMouseEvent* e)
    {
        const QPointF local = e->position() + QPointF(pos() - box->pos());
        QMouseEvent passed(e->type(), local, e->scenePosition(), e->globalPosition(), e->button(), e->buttons(),
                           e->modifiers());
        QCoreApplication::sendEvent(box, &passed);
        e->setAccepted(passed.isAccepted());
    }

    std::function<void(QWidget*, QPainter&)> paint_;
};

} // namespace

LayoutFields::LayoutFields(Form form, QWidget* card, QObject* parent)
    : QObject(parent)
    , form_(form)
{
    // The blocks first: the boxes lie above them.
    for (int i = 0; i < 2; ++i) {
        const int field = i == 0 ? 4 : 10;
        auto* view = new BlockView(card, [this, field](QWidget* v, QPainter& p) { paintBlock(field, v, p); });
        view->setObjectName(QStringLiteral("blkFld%1").arg(field));
        blockViews_[i] = view;
    }
    for (int n = 1; n <= kFieldCount; ++n) {
        auto* box = new TPaintBoxEL(card);
        box->setObjectName(QStringLiteral("pbeFld%1").arg(n));
        box->setField(n);
        box->setLineColor(kNormalLine);
        box->setOnPaint([this](TPaintBoxEL* b, QPainter& p) { PaintField(b, p); });
        // A box that becomes a postal-digit box takes its fixed size at once, not at its next paint.
        connect(box, &TPaintBoxEL::Change, this, [this](TPaintBoxEL* b) { enforcePostalGeometry(b); });
        boxes_[n - 1] = box;
    }
    static_cast<BlockView*>(blockViews_[0])->box = boxes_[3];
    static_cast<BlockView*>(blockViews_[1])->box = boxes_[9];
}

TPaintBoxEL* LayoutFields::box(int field) const
{
    return field >= 1 && field <= kFieldCount ? boxes_[field - 1] : nullptr;
}

int LayoutFields::fieldOf(const TPaintBoxEL* box) const
{
    for (int n = 1; n <= kFieldCount; ++n) {
        if (boxes_[n - 1] == box)
            return n;
    }
    return 0;
}

void LayoutFields::showField(int field, const LayoutField& f)
{
    TPaintBoxEL* b = box(field);
    if (!b)
        return;
    const FieldStyle& s = f.style;
    b->setTate(s.tate);
    b->setBold(s.bold);
    b->setIta(s.italic);
    b->setPost(s.post);
    b->setFontName(s.fontName);
    b->setFontSize(s.fontSize);
    b->setAlignment(TPaintBoxEL::alignmentFromStored(s.alignment));
    b->setFont(boxFont(b));
    b->setGeometry(f.box.left, f.box.top, f.box.width, f.box.height);
    b->setVisible(s.visible);
    stored_[field - 1] = s;
    b->update();
    // Name 1's place, face and visibility set its block; name 2's visibility its honorific.
    if (field == 4 || field == 5 || field == 10)
        showBlocks();
}

void LayoutFields::applyStyle(int field, const FieldStyle& style)
{
    showField(field, LayoutField::fromStyle(field, style, form_ == Form::Postcard));
}

FieldStyle LayoutFields::style(int field) const
{
    const TPaintBoxEL* b = box(field);
    if (!b)
        return FieldStyle();
    // What the box does not hold comes from the style applied last.
    FieldStyle s = stored_[field - 1];
    s.fontName = b->FontName();
    s.fontSize = b->FontSize();
    s.tate = b->Tate();
    s.bold = b->Bold();
    s.italic = b->Ita();
    s.alignment = TPaintBoxEL::storedAlignment(b->Alignment());
    s.post = b->Post();
    s.postWaku = false;
    s.top = b->y();
    s.left = b->x();
    s.width = b->Tate() ? b->height() : b->width();
    s.visible = !b->isHidden();
    return s;
}

void LayoutFields::setSelected(TPaintBoxEL* selected)
{
    for (TPaintBoxEL* b : boxes_)
        b->setLineColor(b == selected ? kSelectedLine : kNormalLine);
    for (QWidget* view : blockViews_)
        view->update();
}

FieldVisibility LayoutFields::visibility() const
{
    FieldVisibility v;
    for (int i = 0; i < kFieldCount; ++i)
        v[i] = !boxes_[i]->isHidden();
    return v;
}

void LayoutFields::FillFieldTexts(int index)
{
    current_ = index;
    const QString line = index >= 0 && index < records.size() ? records.at(index) : QString();
    columns_ = RecordColumns::fromLine(line, columns);
    const FieldTextArray texts = FieldTexts::fill(columns_, sender, honorific, visibility(), TextTarget::Screen);
    for (int n = 1; n <= kFieldCount; ++n) {
        if (n == 7) {
            // The sender postal code is read when painting; the box still needs one line of height.
            if (FieldTexts::isBlank(boxes_[6]->Moji()))
                boxes_[6]->setMoji(QStringLiteral(" "));
            continue;
        }
        boxes_[n - 1]->setMoji(texts[n - 1]);
    }
    showBlocks();
}

void LayoutFields::ApplyHonorific()
{
    FieldTextArray texts;
    FieldTexts::applyHonorific(texts, columns_, honorific, visibility(), TextTarget::Screen);
    for (int i : {3, 4}) {
        boxes_[i]->setMoji(texts[i]); // repaints when the text changed
        if (!boxes_[i]->isHidden())
            boxes_[i]->update();
    }
    showBlocks();
}

QWidget* LayoutFields::blockView(int field) const
{
    return field == 4 ? blockViews_[0] : field == 10 ? blockViews_[1] : nullptr;
}

const NameBlockTexts* LayoutFields::blockOf(const TPaintBoxEL* b) const
{
    return b && !b->isHidden() ? names_.block(fieldOf(b)) : nullptr;
}

LayoutComposer::NameBlockSetting LayoutFields::setBlock(const TPaintBoxEL* b) const
{
    const int field = fieldOf(b);
    const FieldBox fieldBox { b->x(), b->y(), b->width(), b->height() };
    PageCanvas canvas(nullptr, 0, 0);
    return LayoutComposer::setNameBlock(canvas, field, style(field), LayoutComposer::printRect(fieldBox, 0, 0),
                                        *blockOf(b));
}

void LayoutFields::showBlocks()
{
    names_.recipient = FieldTexts::recipientNames(columns_, honorific, visibility());
    names_.sender = FieldTexts::senderNames(sender);
    for (int field : { 4, 10 }) {
        const TPaintBoxEL* b = box(field);
        QWidget* view = blockView(field);
        if (!blockOf(b)) {
            view->hide();
            continue;
        }
        // The block's bounds in pixels, with the box (a block never lies wholly outside it).
        const QRectF bounds = setBlock(b).layout.bounds;
        const qreal k = LayoutUnits::kPixelsPerTenth;
        const QRect shown = QRectF(bounds.left() * k, bounds.top() * k, bounds.width() * k, bounds.height() * k)
                                .toAlignedRect()
                                .adjusted(-1, -1, 1, 1)
                                .united(b->geometry());
        view->setGeometry(shown);
        view->show();
        view->update();
    }
}

void LayoutFields::paintBlock(int field, QWidget* view, QPainter& painter)
{
    const TPaintBoxEL* b = box(field);
    if (!blockOf(b))
        return;
    // The block's outline, dotted in the box's colour: it drags as one field.
    painter.setPen(QPen(b->LineColor(), 0, Qt::DotLine));
    painter.drawRect(0, 0, view->width() - 1, view->height() - 1);

    const FieldStyle st = style(field);
    const FieldBox fieldBox { b->x(), b->y(), b->width(), b->height() };
    const LayoutComposer::PrintRect r = LayoutComposer::printRect(fieldBox, 0, 0);
    PageRecording page;
    PageCanvas canvas(&page, 0, 0);
    canvas.SetFontStyle(LayoutComposer::fontStyleFlags(st));
    canvas.SetFontName(st.fontName);
    LayoutComposer::drawNameBlock(canvas, st, r, LayoutComposer::setNameBlock(canvas, field, st, r, *blockOf(b)));
    painter.translate(-view->x(), -view->y());
    painter.scale(LayoutUnits::kPixelsPerTenth, LayoutUnits::kPixelsPerTenth);
    page.replay(&painter);
}

QFont LayoutFields::boxFont(const TPaintBoxEL* b) const
{
    return FieldGeometry::screenFont(b->FontName(), b->FontSize(), b->Bold(), b->Ita());
}

int LayoutFields::textHeight(const TPaintBoxEL* b) const
{
    // The same computation as the print snapshot's boxes.
    return FieldGeometry::thickness(b->FontName(), b->FontSize(), b->Bold(), b->Ita(), b->Tate());
}

void LayoutFields::ApplyFieldFont(TPaintBoxEL* b)
{
    if (!b)
        return;
    b->setFont(boxFont(b));
    const int thickness = textHeight(b);
    if (b->Tate())
        b->resize(thickness, b->height());
    else
        b->resize(b->width(), thickness);
    enforcePostalGeometry(b);
    b->update();
}

QString LayoutFields::sourceText(const TPaintBoxEL* b) const
{
    const int field = fieldOf(b);
    QString text = b->Moji();
    if (field == 7 && form_ == Form::Label)
        text = FieldTexts::postMarkUnlessBlank(sender.postalCode, senderPostMark);
    else if (field == 7)
        text = FieldTexts::postMark(sender.postalCode, senderPostMark);
    else if (field == 1 && form_ == Form::Label)
        text = FieldTexts::postMarkUnlessBlank(text, recipientPostMark);
    return text;
}

QString LayoutFields::paintText(const TPaintBoxEL* b) const
{
    if (drawsDigits(b))
        return QString();
    const int field = fieldOf(b);
    return FieldTypesetting::displayText(field, style(field), sourceText(b), TextTarget::Screen);
}

// Measured in 0.1 mm over the box's printed length, as the page measures it.
FieldTypesetting::Setting LayoutFields::settle(const TPaintBoxEL* b, bool measure) const
{
    const int field = fieldOf(b);
    const FieldStyle st = style(field);
    const int length = LayoutUnits::pixelsToTenths(st.tate ? b->height() : b->width()) + 1;
    PageCanvas canvas(nullptr, 0, 0);
    return FieldTypesetting::settle(canvas, field, st, length, sourceText(b), TextTarget::Screen, measure);
}

bool LayoutFields::overflows(const TPaintBoxEL* b) const
{
    if (blockOf(b))
        return setBlock(b).overflows;
    return b && !b->isHidden() && !drawsDigits(b) && !FieldGeometry::printsBarcode(fieldOf(b), style(fieldOf(b)))
        && settle(b, true).overflows;
}

void LayoutFields::paintDigits(TPaintBoxEL* b, QPainter& painter, const QFont& font)
{
    const int field = fieldOf(b);
    const QFontMetricsF fm(font);
    const qreal h9 = fm.height();
    const qreal w9 = fm.horizontalAdvance(QLatin1Char('9'));
    painter.setFont(font);
    QString digits;
    if (field == 1) {
        digits = b->Moji();
        const int y = halfTowardZero(kPostalHeight - h9);
        for (int k = 1; k <= 7 && k <= digits.size(); ++k) {
            const int x = k <= 3 ? 2 + 27 * (k - 1) + halfTowardZero(21 - w9)
                                 : 85 + 26 * (k - 4) + halfTowardZero(21 - w9);
            painter.drawText(QPointF(x, y + fm.ascent()), digits.mid(k - 1, 1));
        }
    } else {
        digits = b->Moji();
        const int y = halfTowardZero(kSenderPostalHeight - h9);
        // An eighth digit would start beyond the box's right edge.
        for (int k = 1; k <= 7 && k <= digits.size(); ++k) {
            const int x = 15 * (k - 1) + (k >= 4 ? 4 : 0) + halfTowardZero(15 - w9);
            painter.drawText(QPointF(x, y + fm.ascent()), digits.mid(k - 1, 1));
        }
    }
}

// The bars the page prints for the record shown, placed in the box as on the page and scaled
// to the screen; data that gives no symbol shows no bars (the check before printing names it).
void LayoutFields::paintBarcode(TPaintBoxEL* b, QPainter& painter)
{
    const int field = fieldOf(b);
    const CustomerBarcode::Symbol symbol = CustomerBarcode::encode(sourceText(b));
    if (!symbol.isValid())
        return;
    LayoutField f;
    f.style = style(field);
    f.box = FieldBox{0, 0, b->width(), b->height()};
    const QRectF symbolRect = LayoutComposer::barcodeRect(f, 0, 0);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.scale(LayoutUnits::kPixelsPerTenth, LayoutUnits::kPixelsPerTenth);
    for (const QRectF& bar : LayoutComposer::barRects(f.style, symbolRect, symbol))
        painter.drawRect(bar);
    painter.restore();
}

bool LayoutFields::drawsDigits(const TPaintBoxEL* b) const
{
    const int field = fieldOf(b);
    return form_ == Form::Postcard && b->Post() && (field == 1 || field == 7);
}

void LayoutFields::enforcePostalGeometry(TPaintBoxEL* b)
{
    if (!drawsDigits(b))
        return;
    // Field 1 lies over the card's printed postal-code boxes; field 7 keeps its place.
    if (fieldOf(b) == 1) {
        if (b->geometry() != QRect(kPostalLeft, kPostalTop, kPostalWidth, kPostalHeight))
            b->setGeometry(kPostalLeft, kPostalTop, kPostalWidth, kPostalHeight);
    } else if (b->size() != QSize(kSenderPostalWidth, kSenderPostalHeight)) {
        b->resize(kSenderPostalWidth, kSenderPostalHeight);
    }
}

void LayoutFields::PaintField(TPaintBoxEL* b, QPainter& painter)
{
    const int field = fieldOf(b);
    const bool digits = drawsDigits(b);
    enforcePostalGeometry(b);
    if (digits && field == 7)
        b->setMoji(FieldTexts::postalDigits(sender.postalCode));
    const QSize size = digits ? (field == 1 ? QSize(kPostalWidth, kPostalHeight)
                                            : QSize(kSenderPostalWidth, kSenderPostalHeight))
                              : b->size();

    const bool barcode = !digits && FieldGeometry::printsBarcode(field, style(field));
    const bool block = !digits && blockOf(b) != nullptr;
    const FieldTypesetting::Setting set = digits || barcode || block ? FieldTypesetting::Setting() : settle(b, true);
    const bool marked = block ? setBlock(b).overflows : set.overflows;

    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(marked && b->LineColor() != kSelectedLine ? kOverflowLine : b->LineColor(), 0));
    painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
    if (marked && b->LineColor() == kSelectedLine) {
        painter.setPen(QPen(kOverflowLine, 0));
        painter.drawRect(1, 1, size.width() - 3, size.height() - 3);
    }
    painter.setPen(QPen(Qt::black, 0));
    painter.setClipRect(0, 0, size.width(), size.height());

    if (digits) {
        paintDigits(b, painter, boxFont(b));
        return;
    }
    if (barcode) {
        paintBarcode(b, painter);
        return;
    }
    if (block)
        return; // its block shows the names

    const QString& text = set.text;
    if (text.isEmpty())
        return;
    const bool shrunk = set.points != FieldGeometry::effectivePoints(b->FontSize());
    const QFont font = shrunk ? FieldGeometry::screenFontAt(b->FontName(), set.points, b->Bold(), b->Ita()) : boxFont(b);
    const qreal across = set.across * LayoutUnits::kPixelsPerTenth;
    const auto align = b->Alignment();
    if (b->Tate()) {
        VerticalText::Options options;
        options.tateChuYoko = set.tateChuYoko;
        const VerticalText vt(font, text, JapaneseFonts::isVerticalFace(b->FontName()), options);
        const qreal w = vt.length();
        int y = 0;
        if (align == TPaintBoxEL::taCenter)
            y = halfTowardZero(size.height() - w);
        else if (align == TPaintBoxEL::taRightJustify)
            y = int(std::trunc(size.height() - w));
        vt.draw(&painter, across, y);
        return;
    }
    const QFontMetricsF fm(font);
    const qreal w = fm.horizontalAdvance(text);
    int x = 0;
    if (align == TPaintBoxEL::taCenter)
        x = halfTowardZero(size.width() - w);
    else if (align == TPaintBoxEL::taRightJustify)
        x = int(std::trunc(size.width() - w));
    painter.setFont(font);
    painter.drawText(QPointF(x, across + fm.ascent()), text);
}
