#include "controls/TShineBtnColors.h"

TShineBtnColors::TShineBtnColors(TColor faceColor, QObject* parent)
    : QObject(parent)
    , m_color(faceColor)
{
}

template <typename T> void TShineBtnColors::set(T& field, T value)
{
    if (field == value)
        return;
    field = value;
    emit changed();
}

void TShineBtnColors::setColor(TColor color) { set(m_color, color); }
void TShineBtnColors::setHighlight(TColor color) { set(m_highlight, color); }
void TShineBtnColors::setShadow(TColor color) { set(m_shadow, color); }
void TShineBtnColors::setDarkShadow(TColor color) { set(m_darkShadow, color); }
void TShineBtnColors::setGradColor(TColor color) { set(m_gradColor, color); }
void TShineBtnColors::setGradVertical(bool vertical) { set(m_gradVertical, vertical); }
void TShineBtnColors::setGradation(bool on) { set(m_gradation, on); }

void TShineBtnColors::assign(const TShineBtnColors& other)
{
    if (&other == this)
        return;
    const bool same = m_color == other.m_color && m_highlight == other.m_highlight
        && m_shadow == other.m_shadow && m_darkShadow == other.m_darkShadow
        && m_gradColor == other.m_gradColor && m_gradVertical == other.m_gradVertical
        && m_gradation == other.m_gradation;
    if (same)
        return;
    m_color = other.m_color;
    m_highlight = other.m_highlight;
    m_shadow = other.m_shadow;
    m_darkShadow = other.m_darkShadow;
    m_gradColor = other.m_gradColor;
    m_gradVertical = other.m_gradVertical;
    m_gradation = other.m_gradation;
    emit changed();
}
