#include "controls/TShineBtn.h"

#include <QAction>
#include <QApplication>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>

namespace {

bool isPressedLook(TShineBtn::Look look)
{
    return look == TShineBtn::Look::HoverPressed || look == TShineBtn::Look::Pressed;
}

bool isHoverLook(TShineBtn::Look look)
{
    return look == TShineBtn::Look::HoverPressed || look == TShineBtn::Look::Hover;
}

// Line pieces drawn the way a 1-pixel pen draws from one point to another: the start
// pixel included, the end pixel left out.
void lineTo(QPainter& p, const QColor& c, int x0, int y0, int x1, int y1)
{
    if (y0 == y1 && x0 != x1) {
        const int from = x0 < x1 ? x0 : x1 + 1;
        const int to = x0 < x1 ? x1 - 1 : x0;
        p.fillRect(QRect(QPoint(from, y0), QPoint(to, y0)), c);
    } else if (x0 == x1 && y0 != y1) {
        const int from = y0 < y1 ? y0 : y1 + 1;
        const int to = y0 < y1 ? y1 - 1 : y0;
        p.fillRect(QRect(QPoint(x0, from), QPoint(x0, to)), c);
    }
}

} // namespace

TShineBtn::TShineBtn(QWidget* parent)
    : QWidget(parent)
    , m_colors(new TShineBtnColors(clBtnFace, this))
    , m_pressedColors(new TShineBtnColors(clBtnHighlight, this))
    , m_activeColors(new TShineBtnColors(clHighlightText, this))
{
    for (TShineBtnColors* set : { m_colors, m_pressedColors, m_activeColors })
        connect(set, &TShineBtnColors::changed, this, qOverload<>(&QWidget::update));
    // Half-clear glyph pixels are laid over the face colour.
    connect(m_colors, &TShineBtnColors::changed, this, [this] {
        if (!m_glyphSource.isNull() && m_glyphSource.hasAlphaChannel())
            m_glyph = ShineGlyph::normalized(m_glyphSource, resolve(m_colors->color()));
    });
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    resize(25, 25);
    if (!isEnabled())
        m_look = Look::Disabled;
}

TShineBtn::~TShineBtn() = default;

template <typename T> void TShineBtn::setAndRepaint(T& field, T value)
{
    if (field == value)
        return;
    field = value;
    update();
}

// --- properties ---------------------------------------------------------------------------

void TShineBtn::setText(const QString& text)
{
    if (m_text == text)
        return;
    m_text = text;
    updateShortcut();
    updateGeometry();
    update();
}

void TShineBtn::setGlyph(const QImage& glyph)
{
    m_glyphSource = glyph;
    m_glyph = ShineGlyph::normalized(glyph, resolve(m_colors->color()));
    updateGeometry();
    update();
}

void TShineBtn::setFontColor(TColor color) { setAndRepaint(m_fontColor, color); }

void TShineBtn::setActiveFont(const QFont& font)
{
    m_activeFont = font;
    m_activeFontSet = true;
    update();
}

void TShineBtn::setActiveFontColor(TColor color) { setAndRepaint(m_activeFontColor, color); }
void TShineBtn::setFontHighlight(TColor color) { setAndRepaint(m_fontHighlight, color); }
void TShineBtn::setFontShadow(TColor color) { setAndRepaint(m_fontShadow, color); }
void TShineBtn::setAlignment(TAlignment alignment) { setAndRepaint(m_alignment, alignment); }

void TShineBtn::setShowAccelChar(bool on)
{
    if (m_showAccelChar == on)
        return;
    m_showAccelChar = on;
    updateShortcut();
    update();
}

void TShineBtn::setAccelCharDown(bool on) { setAndRepaint(m_accelCharDown, on); }
void TShineBtn::setGlyphLayout(TButtonLayout layout) { setAndRepaint(m_glyphLayout, layout); }
void TShineBtn::setMargin(int margin) { setAndRepaint(m_margin, margin); }
void TShineBtn::setSpacing(int spacing) { setAndRepaint(m_spacing, spacing); }
void TShineBtn::setAlMargin(int margin) { setAndRepaint(m_alMargin, margin); }

void TShineBtn::setGroupIndex(int index)
{
    if (m_groupIndex == index)
        return;
    m_groupIndex = index;
    // Only a group button can stay down.
    if (index == 0 && m_down) {
        m_down = false;
        if (m_look != Look::Disabled)
            m_look = m_inside ? Look::Hover : Look::Normal;
        emit downChanged(false);
    }
    update();
}

void TShineBtn::setDown(bool down)
{
    if (m_groupIndex == 0 || m_down == down)
        return;
    // Without AllowAllUp only another button of the group raises a down button.
    if (m_down && !down && !m_allowAllUp)
        return;
    applyDown(down);
}

void TShineBtn::applyDown(bool down)
{
    if (m_down == down)
        return;
    m_down = down;
    if (m_look != Look::Disabled) {
        if (down)
            m_look = m_inside ? Look::HoverPressed : Look::Pressed;
        else
            m_look = m_inside ? Look::Hover : Look::Normal;
    }
    update();
    emit downChanged(down);
    if (down)
        notifyGroup();
}

void TShineBtn::setAllowAllUp(bool allow) { setAndRepaint(m_allowAllUp, allow); }

void TShineBtn::setActionCheckedDown(bool on)
{
    if (m_actionCheckedDown == on)
        return;
    m_actionCheckedDown = on;
    syncFromAction();
}

void TShineBtn::setClickDownHook(bool on) { m_clickDownHook = on; }
void TShineBtn::setFrameType(TFrameType type) { setAndRepaint(m_frameType, type); }
void TShineBtn::setActiveFrame(bool on) { setAndRepaint(m_activeFrame, on); }
void TShineBtn::setUpFrame(bool on) { setAndRepaint(m_upFrame, on); }
void TShineBtn::setDownFrame(bool on) { setAndRepaint(m_downFrame, on); }

void TShineBtn::setTransparent(bool on)
{
    if (m_transparent == on)
        return;
    m_transparent = on;
    setAttribute(Qt::WA_OpaquePaintEvent, !on);
    update();
}

void TShineBtn::setActiveImage(TActiveImageType type) { setAndRepaint(m_activeImage, type); }
void TShineBtn::setUpImage(TDecorationImageType type) { setAndRepaint(m_upImage, type); }
void TShineBtn::setDownImage(TDecorationImageType type) { setAndRepaint(m_downImage, type); }
void TShineBtn::setDisabledImage(TDecorationImageType type) { setAndRepaint(m_disabledImage, type); }
void TShineBtn::setShineColor(TColor color) { setAndRepaint(m_shineColor, color); }
void TShineBtn::setDisabledHighlight(TColor color) { setAndRepaint(m_disabledHighlight, color); }
void TShineBtn::setDisabledShadow(TColor color) { setAndRepaint(m_disabledShadow, color); }
void TShineBtn::setActiveColorsEnabled(bool on) { setAndRepaint(m_activeColorsEnabled, on); }

void TShineBtn::setAction(QAction* action)
{
    if (m_action == action)
        return;
    if (m_action)
        disconnect(m_action, nullptr, this, nullptr);
    m_action = action;
    if (m_action) {
        connect(m_action, &QAction::changed, this, &TShineBtn::syncFromAction);
        syncFromAction();
    }
}

void TShineBtn::syncFromAction()
{
    if (!m_action)
        return;
    if (!m_action->text().isEmpty())
        setText(m_action->text());
    setEnabled(m_action->isEnabled());
    setVisible(m_action->isVisible());
    const QString tip = m_action->toolTip();
    const QString status = m_action->statusTip();
    if (!status.isEmpty())
        setStatusTip(status);
    if (!tip.isEmpty() && tip != m_action->text())
        setToolTip(tip);
    if (m_actionCheckedDown && m_groupIndex != 0)
        applyDown(m_action->isChecked());
}

// --- groups ---------------------------------------------------------------------------------

void TShineBtn::notifyGroup()
{
    QWidget* parent = parentWidget();
    if (!parent || m_groupIndex == 0)
        return;
    const auto siblings = parent->findChildren<TShineBtn*>(Qt::FindDirectChildrenOnly);
    for (TShineBtn* other : siblings) {
        if (other != this && other->m_groupIndex == m_groupIndex)
            other->groupButtonPressed(*this);
    }
}

void TShineBtn::groupButtonPressed(const TShineBtn& sender)
{
    if (m_down) {
        m_down = false;
        if (m_look != Look::Disabled)
            m_look = m_inside ? Look::Hover : Look::Normal;
        update();
        emit downChanged(false);
    }
    m_allowAllUp = sender.m_allowAllUp;
}

// --- mouse ---------------------------------------------------------------------------------

void TShineBtn::setLook(Look look)
{
    if (m_look == look)
        return;
    m_look = look;
    update();
}

void TShineBtn::mouseEnterStep()
{
    if (!isEnabled() || m_inside)
        return;
    QWidget* grabber = QWidget::mouseGrabber();
    if (grabber && grabber != this)
        return;
    QPointer<TShineBtn> self(this);
    emit mouseEntered();
    if (!self)
        return;
    m_inside = true;
    if (m_look == Look::Normal)
        m_look = Look::Hover;
    else if (m_look == Look::Pressed)
        m_look = Look::HoverPressed;
    update();
}

void TShineBtn::mouseLeaveStep()
{
    if (!m_inside || !isEnabled() || m_pressing)
        return;
    QPointer<TShineBtn> self(this);
    emit mouseLeft();
    if (!self)
        return;
    m_inside = false;
    if (m_look == Look::Hover)
        m_look = Look::Normal;
    else if (m_look == Look::HoverPressed)
        m_look = Look::Pressed;
    update();
}

bool TShineBtn::isUnderCursor(const QPoint& localPos) const
{
    if (!rect().contains(localPos) || !isVisible())
        return false;
    // Another control on top of this one has the mouse.
    const QWidget* top = window();
    const QWidget* hit = top->childAt(mapTo(top, localPos));
    return hit == this || (top == this && hit == nullptr);
}

void TShineBtn::recheckUnderCursor(const QPoint& localPos)
{
    if (isUnderCursor(localPos))
        mouseEnterStep();
    else
        mouseLeaveStep();
}

void TShineBtn::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    mouseEnterStep();
}

void TShineBtn::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    mouseLeaveStep();
}

void TShineBtn::pressStep()
{
    m_pressing = true;
    setLook(Look::HoverPressed);
}

void TShineBtn::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !isEnabled()) {
        QWidget::mousePressEvent(event);
        return;
    }
    pressStep();
}

void TShineBtn::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !isEnabled()) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    if (isPressedLook(m_look)) {
        QPointer<TShineBtn> self(this);
        emit doubleClicked();
        if (!self)
            return;
    }
    // The second press of a double click is a press like any other.
    pressStep();
}

void TShineBtn::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (m_pressing) {
        if (pos.x() > 0 && pos.x() < width() && pos.y() > 0 && pos.y() < height())
            setLook(Look::HoverPressed);
        else
            setLook(m_down ? Look::Pressed : Look::Normal);
    } else if (!m_inside) {
        recheckUnderCursor(pos);
    }
    QWidget::mouseMoveEvent(event);
}

void TShineBtn::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_pressing) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    const bool hit = pos.x() >= 0 && pos.x() < width() && pos.y() >= 0 && pos.y() < height();
    if (m_groupIndex != 0) {
        if (hit)
            setDown(!m_down);
        else
            setLook(m_down ? Look::HoverPressed : Look::Hover);
    } else {
        m_inside = false;
        m_down = false;
        setLook(Look::Normal);
    }
    m_pressing = false;
    QPointer<TShineBtn> self(this);
    if (hit)
        click();
    if (self)
        recheckUnderCursor(pos);
}

void TShineBtn::click()
{
    QPointer<TShineBtn> self(this);
    if (m_clickDownHook) {
        m_inClickHook = true;
        repaint();
    }
    if (m_action)
        m_action->trigger();
    if (self)
        emit clicked();
    if (self && m_clickDownHook) {
        m_inClickHook = false;
        update();
    }
}

// --- other events ----------------------------------------------------------------------------

void TShineBtn::changeEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::EnabledChange: {
        const bool wasDown = m_down;
        m_down = false;
        m_pressing = false;
        if (isEnabled()) {
            m_look = Look::Normal;
        } else {
            m_look = Look::Disabled;
            // A disabled control takes no mouse-over; the next move re-checks.
            m_inside = false;
        }
        update();
        if (wasDown)
            emit downChanged(false);
        break;
    }
    case QEvent::FontChange:
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
        if (!m_glyphSource.isNull())
            m_glyph = ShineGlyph::normalized(m_glyphSource, resolve(m_colors->color()));
        updateGeometry();
        update();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

void TShineBtn::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_pressing = false;
    if (m_inside)
        mouseLeaveStep();
}

void TShineBtn::updateShortcut()
{
    if (m_shortcutId != 0) {
        releaseShortcut(m_shortcutId);
        m_shortcutId = 0;
    }
    if (!m_showAccelChar)
        return;
    const QKeySequence seq = QKeySequence::mnemonic(m_text);
    if (!seq.isEmpty())
        m_shortcutId = grabShortcut(seq);
}

bool TShineBtn::event(QEvent* event)
{
    if (event->type() == QEvent::Shortcut) {
        auto* se = static_cast<QShortcutEvent*>(event);
        if (se->shortcutId() == m_shortcutId && m_showAccelChar && isEnabled() && isVisible()
            && (!parentWidget() || parentWidget()->isVisible())) {
            if (m_accelCharDown)
                setDown(!m_down);
            click();
            return true;
        }
    }
    return QWidget::event(event);
}

// --- layout ---------------------------------------------------------------------------------

TShineBtn::ContentLayout TShineBtn::calcLayout(QSize client, QSize glyphSize, QSize textSize, TButtonLayout layout,
    int margin, int spacing, int alMargin)
{
    const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    if (glyphSize.isEmpty())
        glyphSize = QSize(0, 0);
    if (textSize.isEmpty())
        textSize = QSize(0, 0);
    // Spacing separates glyph and caption only when both are there.
    if (glyphSize.width() == 0 || textSize.width() == 0)
        spacing = 0;

    int textWidth = textSize.width();
    if (alMargin >= 0 && textSize.width() > 0) {
        if (horizontal && margin > 0)
            textWidth = client.width() - (margin + glyphSize.width() + spacing) - alMargin;
        else if (!horizontal)
            textWidth = client.width() - 2 * alMargin;
        if (textWidth < 0)
            textWidth = 0;
    }
    const int textHeight = textSize.height();

    QPoint glyphPos;
    QPoint textPos;
    if (horizontal) {
        glyphPos.setY((client.height() - glyphSize.height()) / 2);
        textPos.setY((client.height() - textHeight) / 2);
    } else {
        glyphPos.setX((client.width() - glyphSize.width()) / 2);
        textPos.setX((client.width() - textWidth) / 2);
    }

    if (margin == -1) {
        const int total = horizontal ? glyphSize.width() + spacing + textWidth
                                     : glyphSize.height() + spacing + textHeight;
        margin = ((horizontal ? client.width() : client.height()) - total) / 2;
    }

    switch (layout) {
    case blGlyphLeft:
        glyphPos.setX(margin);
        textPos.setX(glyphPos.x() + glyphSize.width() + spacing);
        break;
    case blGlyphRight:
        glyphPos.setX(client.width() - margin - glyphSize.width());
        textPos.setX(glyphPos.x() - spacing - textWidth);
        break;
    case blGlyphTop:
        glyphPos.setY(margin);
        textPos.setY(glyphPos.y() + glyphSize.height() + spacing);
        break;
    case blGlyphBottom:
        glyphPos.setY(client.height() - margin - glyphSize.height());
        textPos.setY(glyphPos.y() - spacing - textHeight);
        break;
    }
    return { glyphPos, QRect(textPos, QSize(textWidth, textHeight)) };
}

int TShineBtn::textFlags() const
{
    int flags = Qt::AlignVCenter;
    switch (m_alignment) {
    case taLeftJustify: flags |= Qt::AlignLeft; break;
    case taRightJustify: flags |= Qt::AlignRight; break;
    case taCenter: flags |= Qt::AlignHCenter; break;
    }
    if (m_showAccelChar)
        flags |= Qt::TextShowMnemonic;
    return flags;
}

QSize TShineBtn::sizeHint() const
{
    QSize text(0, 0);
    if (!m_text.isEmpty()) {
        const int mnemonic = m_showAccelChar ? Qt::TextShowMnemonic : 0;
        text = QFontMetrics(font()).boundingRect(QRect(), Qt::AlignLeft | Qt::AlignTop | mnemonic, m_text).size();
    }
    const QSize g = m_glyph.isNull() ? QSize(0, 0) : m_glyph.size();
    const int gap = (g.width() > 0 && text.width() > 0) ? m_spacing : 0;
    QSize content;
    if (m_glyphLayout == blGlyphLeft || m_glyphLayout == blGlyphRight)
        content = QSize(g.width() + gap + text.width(), qMax(g.height(), text.height()));
    else
        content = QSize(qMax(g.width(), text.width()), g.height() + gap + text.height());
    return content.grownBy(QMargins(5, 5, 5, 5)).expandedTo(QSize(25, 25));
}

// --- painting ---------------------------------------------------------------------------------

QColor TShineBtn::resolve(TColor color) const
{
    return WinColor::toQColor(color, palette());
}

const TShineBtnColors& TShineBtn::colorSetFor(Look look) const
{
    switch (look) {
    case Look::HoverPressed:
        return m_activeColorsEnabled ? *m_activeColors : *m_pressedColors;
    case Look::Pressed:
        return *m_pressedColors;
    case Look::Hover:
        return m_activeColorsEnabled ? *m_activeColors : *m_colors;
    case Look::Normal:
    case Look::Disabled:
        break;
    }
    return *m_colors;
}

void TShineBtn::paintEvent(QPaintEvent*)
{
    Look look = m_inClickHook ? Look::HoverPressed : m_look;
    if (!isEnabled())
        look = Look::Disabled;
    QPainter painter(this);
    if (m_transparent) {
        paintContent(painter, look, false);
        return;
    }
    if (width() <= 0 || height() <= 0)
        return;
    const qreal dpr = devicePixelRatioF();
    QImage buffer(size() * dpr, QImage::Format_RGB32);
    buffer.setDevicePixelRatio(dpr);
    {
        QPainter bp(&buffer);
        paintContent(bp, look, true);
    }
    painter.drawImage(0, 0, buffer);
}

QImage TShineBtn::renderLook(Look look) const
{
    QImage image(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    paintContent(painter, look, true);
    return image;
}

void TShineBtn::paintBackground(QPainter& painter, const TShineBtnColors& set) const
{
    const int w = width();
    const int h = height();
    if (w <= 0 || h <= 0)
        return;
    const QColor start = resolve(set.color());
    if (!set.gradation()) {
        painter.fillRect(QRect(0, 0, w, h), start);
        return;
    }
    const QColor end = resolve(set.gradColor());
    const bool vertical = set.gradVertical();
    const int n = vertical ? h : w;
    QImage grad(w, h, QImage::Format_RGB32);
    for (int i = 0; i < n; ++i) {
        // Row (or column) i of n: the last one stops one step short of the end colour.
        const QRgb c = qRgb(start.red() + i * (end.red() - start.red()) / n,
            start.green() + i * (end.green() - start.green()) / n,
            start.blue() + i * (end.blue() - start.blue()) / n);
        if (vertical) {
            auto* line = reinterpret_cast<QRgb*>(grad.scanLine(i));
            std::fill(line, line + w, c);
        } else {
            for (int y = 0; y < h; ++y)
                reinterpret_cast<QRgb*>(grad.scanLine(y))[i] = c;
        }
    }
    painter.drawImage(0, 0, grad);
}

void TShineBtn::paintContent(QPainter& painter, Look look, bool withBackground) const
{
    const TShineBtnColors& set = colorSetFor(look);
    const bool pressed = isPressedLook(look);
    const bool hover = isHoverLook(look);

    if (withBackground)
        paintBackground(painter, set);

    const QFont captionFont = hover ? activeFont() : font();
    painter.setFont(captionFont);

    QSize textSize(0, 0);
    if (!m_text.isEmpty()) {
        const int mnemonic = m_showAccelChar ? Qt::TextShowMnemonic : 0;
        textSize = QFontMetrics(captionFont)
                       .boundingRect(QRect(0, 0, width(), 0), Qt::AlignLeft | Qt::AlignTop | mnemonic, m_text)
                       .size();
    }
    const QImage& glyph = m_glyph;
    const ContentLayout layout = calcLayout(size(), glyph.isNull() ? QSize() : glyph.size(), textSize,
        m_glyphLayout, m_margin, m_spacing, m_alMargin);
    const QPoint shift = pressed ? QPoint(1, 1) : QPoint(0, 0);

    // Glyph.
    if (!glyph.isNull()) {
        const QPoint at = layout.glyphPos + shift;
        if (look == Look::Disabled && m_disabledImage == diDefault) {
            const QImage mask = ShineGlyph::edgeMask(glyph);
            ShineGlyph::drawMask(painter, at.x() + 1, at.y() + 1, mask, resolve(m_disabledHighlight));
            ShineGlyph::drawMask(painter, at.x(), at.y(), mask, resolve(m_disabledShadow));
        } else {
            QImage shown;
            const QColor face = resolve(m_colors->color());
            switch (look) {
            case Look::HoverPressed:
            case Look::Hover:
                shown = ShineGlyph::activeEffect(glyph, m_activeImage, resolve(m_shineColor));
                break;
            case Look::Normal:
                shown = ShineGlyph::decorationEffect(glyph, m_upImage, face);
                break;
            case Look::Pressed:
                shown = ShineGlyph::decorationEffect(glyph, m_downImage, face);
                break;
            case Look::Disabled:
                shown = ShineGlyph::decorationEffect(glyph, m_disabledImage, face);
                break;
            }
            ShineGlyph::drawTransparent(painter, at.x(), at.y(), shown, ShineGlyph::keyColor(glyph));
        }
    }

    // Caption.
    if (!m_text.isEmpty()) {
        const QRect r = layout.captionRect.translated(shift);
        const int flags = textFlags();
        auto draw = [&](const QColor& color, int dx, int dy) {
            painter.setPen(color);
            painter.drawText(r.translated(dx, dy), flags, m_text);
        };
        if (look == Look::Disabled) {
            draw(resolve(m_disabledHighlight), 1, 1);
            draw(resolve(m_disabledShadow), 0, 0);
        } else {
            if (!WinColor::isNone(m_fontShadow))
                draw(resolve(m_fontShadow), 1, 1);
            if (!WinColor::isNone(m_fontHighlight))
                draw(resolve(m_fontHighlight), -1, -1);
            draw(resolve(hover ? m_activeFontColor : m_fontColor), 0, 0);
        }
    }

    paintFrame(painter, look, set);
}

void TShineBtn::paintFrame(QPainter& painter, Look look, const TShineBtnColors& set) const
{
    bool drawn = false;
    switch (look) {
    case Look::HoverPressed:
    case Look::Hover:
        drawn = m_activeFrame;
        break;
    case Look::Pressed:
        drawn = m_downFrame;
        break;
    case Look::Normal:
    case Look::Disabled:
        drawn = m_upFrame;
        break;
    }
    if (!drawn)
        return;

    const int w = width();
    const int h = height();
    const bool pressed = isPressedLook(look);
    auto topLeft = [&](TColor c, int a, int b) {
        const QColor color = resolve(c);
        lineTo(painter, color, a, a, w - b, a);
        lineTo(painter, color, a, a, a, h - b);
    };
    auto bottomRight = [&](TColor c, int a, int b) {
        const QColor color = resolve(c);
        lineTo(painter, color, w - a, h - a, b, h - a);
        lineTo(painter, color, w - a, h - a, w - a, b);
    };

    switch (m_frameType) {
    case ftFlatFrame:
        if (pressed) {
            topLeft(set.shadow(), 0, 1);
            bottomRight(set.highlight(), 1, 0);
        } else {
            topLeft(set.highlight(), 0, 1);
            bottomRight(set.shadow(), 1, 0);
        }
        break;
    case ftNormalFrame:
        if (pressed) {
            topLeft(set.shadow(), 1, 1);
            topLeft(set.darkShadow(), 0, 1);
            bottomRight(set.highlight(), 1, 0);
        } else {
            bottomRight(set.shadow(), 2, 0);
            bottomRight(set.darkShadow(), 1, 0);
            topLeft(set.highlight(), 0, 1);
        }
        break;
    case ftEnclosedFrame: {
        if (pressed) {
            topLeft(set.shadow(), 1, 2);
            bottomRight(set.highlight(), 2, 1);
        } else {
            topLeft(set.highlight(), 1, 2);
            bottomRight(set.shadow(), 2, 1);
        }
        const TShineBtnColors& outline = (isHoverLook(look) && m_activeColorsEnabled) ? *m_activeColors : *m_colors;
        const QColor c = resolve(outline.darkShadow());
        painter.fillRect(QRect(0, 0, w, 1), c);
        painter.fillRect(QRect(0, h - 1, w, 1), c);
        painter.fillRect(QRect(0, 0, 1, h), c);
        painter.fillRect(QRect(w - 1, 0, 1, h), c);
        break;
    }
    }
}
