#include "layout/ui/TPaintBoxEL.h"

#include <QPainter>

TPaintBoxEL::TPaintBoxEL(QWidget* parent)
    : QWidget(parent)
{
    // Windowless: the card below shows through; nothing fills the background.
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
}

void TPaintBoxEL::changed()
{
    update();
    emit Change(this);
}

void TPaintBoxEL::setTate(bool value)
{
    if (tate_ == value)
        return;
    tate_ = value;
    resize(height(), width());
    changed();
}

void TPaintBoxEL::setBold(bool value)
{
    if (bold_ == value)
        return;
    bold_ = value;
    changed();
}

void TPaintBoxEL::setIta(bool value)
{
    if (ita_ == value)
        return;
    ita_ = value;
    changed();
}

void TPaintBoxEL::setMoji(const QString& value)
{
    if (moji_ == value)
        return;
    moji_ = value;
    changed();
}

void TPaintBoxEL::setPost(bool value)
{
    if (post_ == value)
        return;
    post_ = value;
    changed();
}

void TPaintBoxEL::setFontSize(int value)
{
    if (fontSize_ == value)
        return;
    fontSize_ = value;
    changed();
}

void TPaintBoxEL::setLineColor(const QColor& value)
{
    if (lineColor_ == value)
        return;
    lineColor_ = value;
    changed();
}

void TPaintBoxEL::setAlignment(TAlignment value)
{
    if (alignment_ == value)
        return;
    alignment_ = value;
    changed();
}

void TPaintBoxEL::setFontName(const QString& value)
{
    // The font is the base control's, not one of the published properties: no Change.
    if (fontName_ == value)
        return;
    fontName_ = value;
    update();
}

TPaintBoxEL::TAlignment TPaintBoxEL::alignmentFromStored(int stored)
{
    switch (stored) {
    case 1:
        return taCenter;
    case 2:
        return taRightJustify;
    default:
        return taLeftJustify;
    }
}

int TPaintBoxEL::storedAlignment(TAlignment alignment)
{
    switch (alignment) {
    case taCenter:
        return 1;
    case taRightJustify:
        return 2;
    default:
        return 0;
    }
}

void TPaintBoxEL::paintEvent(QPaintEvent*)
{
    if (!onPaint_)
        return;
    QPainter painter(this);
    onPaint_(this, painter);
}

void TPaintBoxEL::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    emit OnMouseEnter(this);
}

void TPaintBoxEL::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    emit OnMouseLeave(this);
}
