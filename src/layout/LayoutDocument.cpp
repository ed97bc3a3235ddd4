#include "layout/LayoutDocument.h"

#include "label/LabelGeometry.h"
#include "layout/FieldCaptions.h"
#include "layout/LayoutRules.h"
#include "preview/PictureFile.h"

#include <QFileInfo>
#include <QUndoCommand>
#include <QUndoStack>

#include <algorithm>
#include <cmath>

// One step of the history: the layout before and after it. Steps of one arrow-key run or of
// typing the honorific merge, so that undo takes them back at once.
class LayoutStep : public QUndoCommand {
public:
    LayoutStep(LayoutDocument* document, LayoutState before, LayoutState after, LayoutDocument::Merge merge,
               int field, int serial)
        : m_document(document)
        , m_before(std::move(before))
        , m_after(std::move(after))
        , m_merge(merge)
        , m_field(field)
        , m_serial(serial)
    {
    }

    void undo() override { m_document->setState(m_before); }
    void redo() override { m_document->setState(m_after); }
    int id() const override { return m_merge == LayoutDocument::Merge::None ? -1 : int(m_merge); }
    bool mergeWith(const QUndoCommand* other) override
    {
        const auto* o = static_cast<const LayoutStep*>(other);
        if (o->m_merge != m_merge || o->m_field != m_field || o->m_serial != m_serial)
            return false;
        m_after = o->m_after;
        // Keys that went there and back leave no step.
        setObsolete(m_after == m_before);
        return true;
    }

private:
    LayoutDocument* m_document;
    LayoutState m_before;
    LayoutState m_after;
    LayoutDocument::Merge m_merge;
    int m_field;
    int m_serial;
};

// --- the layout as a value ---------------------------------------------------------------

QSize LayoutState::cardSize() const
{
    if (postcard())
        return QSize(FieldGeometry::kCardWidth, FieldGeometry::kCardHeight);
    return LabelGeometry::imageSize(labelHeight(), labelWidth());
}

int LayoutState::labelHeight() const
{
    return postcard() ? 0 : LabelGeometry::labelHeight(sheet);
}

int LayoutState::labelWidth() const
{
    return postcard() ? 0 : LabelGeometry::labelWidth(sheet);
}

bool LayoutState::operator==(const LayoutState& o) const
{
    return kind == o.kind && fields == o.fields && stamp == o.stamp && offsetX == o.offsetX && offsetY == o.offsetY
        && senderPostMark == o.senderPostMark && recipientPostMark == o.recipientPostMark
        && honorific == o.honorific && sheet == o.sheet;
}

QString LayoutOpening::message() const
{
    QStringList lines;
    const QString sheetLines = sheet.message();
    if (!sheetLines.isEmpty())
        lines << sheetLines;
    if (!moved.isEmpty()) {
        lines << QStringLiteral("用紙からはみ出していた項目を用紙内に戻しました。")
              << moved.join(QStringLiteral("、"));
    }
    return lines.join(QStringLiteral("\r\n"));
}

// --- reading and writing the settings image ----------------------------------------------

namespace {

// The position adjustment as its read-out holds it: whole tenths within ±10.0 mm.
int offsetTenths(double millimetres)
{
    const long t = std::isfinite(millimetres) && std::fabs(millimetres) < 1e6 ? std::lround(millimetres * 10) : 0;
    return int(std::clamp<long>(t, -LayoutRules::kOffsetLimit, LayoutRules::kOffsetLimit));
}

// The stamp's size when the stored one cannot be used: its picture's own, else the size of
// the card's stamp frame.
QSize naturalStampSize(const QString& path)
{
    const QSize natural = PictureFile::load(path).layoutSize();
    return natural.isValid() ? natural : QSize(76, 90);
}

// Values a hand-edited settings file may hold: a box shorter than the shortest a user can
// make, or lying (partly) off the card where nobody could reach it again; a stamp too small
// to grab or off the card. Returns the captions of what was put back.
QStringList putBackOnCard(LayoutState& s)
{
    using namespace LayoutRules;
    QStringList moved;
    for (int n = 1; n <= kFieldCount; ++n) {
        if (isPinned(s, n))
            continue;
        const LayoutField before = s.field(n);
        FieldBox b = before.box;
        // A postal-digit box or a barcode has its fixed size; only its place can be wrong.
        const bool fixed = FieldGeometry::fixedLength(n, before.style);
        if (!fixed && before.style.tate && b.height < kMinVertical)
            b.height = kMinVertical;
        if (!fixed && !before.style.tate && b.width < kMinHorizontal)
            b.width = kMinHorizontal;
        s.field(n) = before.movedTo(b);
        const QSize card = s.cardSize();
        if (b.left < 0 || b.top < 0 || b.left + b.width > card.width() || b.top + b.height > card.height())
            s = keepOnCard(s, n);
        if (s.field(n) != before)
            moved << FieldCaptions::caption(n, !s.postcard());
    }
    ImageBox& st = s.stamp;
    const QRect box(st.left, st.top, st.width, st.height);
    if (!st.path.isEmpty() && (st.width < kMinStamp || st.height < kMinStamp || stampOutside(s, box))) {
        QSize size = box.size();
        if (size.width() < kMinStamp || size.height() < kMinStamp)
            size = naturalStampSize(st.path);
        const QPoint at = stampOutside(s, QRect(box.topLeft(), size)) ? QPoint(0, 0) : box.topLeft();
        st = ImageBox{st.path, at.y(), at.x(), size.width(), size.height()};
        moved << QStringLiteral("画像");
    }
    return moved;
}

} // namespace

LayoutOpening LayoutDocument::read(const AppSettings& settings, LayoutKind kind)
{
    LayoutOpening o;
    LayoutState& s = o.state;
    s.kind = kind;
    const bool postcard = kind == LayoutKind::Postcard;
    const FieldStyles& styles = postcard ? settings.postcardFields : settings.labelFields;
    for (int n = 1; n <= kFieldCount; ++n)
        s.field(n) = LayoutField::fromStyle(n, styles[n - 1], postcard);

    // The stamp: a file that no longer exists is forgotten. A relative name counts from the
    // current folder, as the address list's does.
    const ImageBox& image = postcard ? settings.postcardImage : settings.labelImage;
    if (!image.path.trimmed().isEmpty() && QFileInfo(image.path).isFile()) {
        s.stamp = image;
        s.stamp.width = std::clamp(image.width, 0, FieldGeometry::kMaxExtent);
        s.stamp.height = std::clamp(image.height, 0, FieldGeometry::kMaxExtent);
    }

    s.offsetX = offsetTenths(postcard ? settings.postcardOffsetX : settings.labelOffsetX);
    s.offsetY = offsetTenths(postcard ? settings.postcardOffsetY : settings.labelOffsetY);
    s.senderPostMark = postcard ? settings.postcardPostMark : settings.labelPostMark;

    if (!postcard) {
        // The stored sheet held to its ranges, the label size checked once against the boxes
        // as they came from the file; refused or not, the boxes are fitted into the label.
        o.sheet.stored = settings.labelSheet;
        s.sheet = LabelGeometry::clamped(settings.labelSheet, &o.sheet.outOfRange);
        o.sheet.used = s.sheet;
        const LabelGeometry::Check c = LabelGeometry::check(s.sheet, SheetSetting::RowGap, s.sheet.rowGap,
                                                            LayoutRules::fieldFloor(s));
        o.sheet.tooSmall = c.verdict != LabelGeometry::Verdict::Allowed;
        s = LayoutRules::fitIntoLabel(s);
    }
    o.moved = putBackOnCard(s);
    return o;
}

void LayoutDocument::write(const LayoutState& s, AppSettings& settings)
{
    const bool postcard = s.postcard();
    FieldStyles& styles = postcard ? settings.postcardFields : settings.labelFields;
    for (int n = 1; n <= kFieldCount; ++n)
        styles[n - 1] = s.field(n).style;
    (postcard ? settings.postcardImage : settings.labelImage) = s.stamp.path.isEmpty() ? ImageBox() : s.stamp;
    (postcard ? settings.postcardOffsetX : settings.labelOffsetX) = double(s.offsetX) / 10.0;
    (postcard ? settings.postcardOffsetY : settings.labelOffsetY) = double(s.offsetY) / 10.0;
    (postcard ? settings.postcardPostMark : settings.labelPostMark) = s.senderPostMark;
    if (!postcard)
        settings.labelSheet = s.sheet;
}

// --- the document ----------------------------------------------------------------------------

LayoutDocument::LayoutDocument(LayoutKind kind, QObject* parent)
    : QObject(parent)
    , m_stack(new QUndoStack(this))
{
    m_state = read(AppSettings(), kind).state;
}

LayoutDocument::~LayoutDocument() = default;

LayoutOpening LayoutDocument::open(const AppSettings& settings)
{
    LayoutOpening o = read(settings, kind());
    m_inGesture = false;
    m_stack->clear();
    m_state = o.state;
    emit opened();
    return o;
}

void LayoutDocument::setState(const LayoutState& next)
{
    const LayoutState before = m_state;
    m_state = next;
    if (before.sheet != next.sheet)
        emit sheetChanged();
    for (int n = 1; n <= kFieldCount; ++n) {
        if (before.field(n) != next.field(n))
            emit fieldChanged(n);
    }
    if (before.stamp != next.stamp)
        emit stampChanged();
    if (before.offsetX != next.offsetX || before.offsetY != next.offsetY
        || before.senderPostMark != next.senderPostMark || before.recipientPostMark != next.recipientPostMark
        || before.honorific != next.honorific)
        emit optionsChanged();
}

void LayoutDocument::setFieldStyle(int field, const FieldStyle& style)
{
    if (field < 1 || field > kFieldCount)
        return;
    change(LayoutRules::restyle(m_state, field, style));
}

void LayoutDocument::change(const LayoutState& next, Merge merge, int field)
{
    if (m_inGesture)
        endGesture();
    if (next == m_state || next.kind != m_state.kind)
        return;
    m_stack->push(new LayoutStep(this, m_state, next, merge, field, m_mergeSerial));
}

void LayoutDocument::breakMerge()
{
    ++m_mergeSerial;
}

void LayoutDocument::beginGesture()
{
    if (m_inGesture)
        endGesture();
    m_inGesture = true;
    m_gestureStart = m_state;
}

void LayoutDocument::showGesture(const LayoutState& state)
{
    if (!m_inGesture)
        beginGesture();
    if (state.kind == m_state.kind)
        setState(state);
}

void LayoutDocument::endGesture()
{
    if (!m_inGesture)
        return;
    m_inGesture = false;
    breakMerge();
    if (m_state != m_gestureStart)
        m_stack->push(new LayoutStep(this, m_gestureStart, m_state, Merge::None, 0, m_mergeSerial));
}

bool LayoutDocument::canUndo() const
{
    return m_stack->canUndo();
}

bool LayoutDocument::canRedo() const
{
    return m_stack->canRedo();
}

void LayoutDocument::undo()
{
    if (m_inGesture)
        endGesture();
    breakMerge();
    m_stack->undo();
}

void LayoutDocument::redo()
{
    if (m_inGesture)
        endGesture();
    breakMerge();
    m_stack->redo();
}
