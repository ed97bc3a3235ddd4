#pragma once
// One colour set of a TShineBtn look: face, the three frame colours and the optional
// gradient. A button owns three (normal, pressed, mouse-over); every change emits
// changed(), which repaints the owner.

#include "platform/WinColor.h"

#include <QObject>

class TShineBtnColors : public QObject {
    Q_OBJECT
    Q_PROPERTY(TColor Color READ color WRITE setColor NOTIFY changed)
    Q_PROPERTY(TColor Highlight READ highlight WRITE setHighlight NOTIFY changed)
    Q_PROPERTY(TColor Shadow READ shadow WRITE setShadow NOTIFY changed)
    Q_PROPERTY(TColor DarkShadow READ darkShadow WRITE setDarkShadow NOTIFY changed)
    Q_PROPERTY(TColor GradColor READ gradColor WRITE setGradColor NOTIFY changed)
    Q_PROPERTY(bool GradVertical READ gradVertical WRITE setGradVertical NOTIFY changed)
    Q_PROPERTY(bool Gradation READ gradation WRITE setGradation NOTIFY changed)
public:
    // faceColor is the default of Color, which differs between the three sets of a button.
    explicit TShineBtnColors(TColor faceColor = clBtnFace, QObject* parent = nullptr);

    TColor color() const { return m_color; }
    void setColor(TColor color);
    TColor highlight() const { return m_highlight; }
    void setHighlight(TColor color);
    TColor shadow() const { return m_shadow; }
    void setShadow(TColor color);
    TColor darkShadow() const { return m_darkShadow; }
    void setDarkShadow(TColor color);
    TColor gradColor() const { return m_gradColor; }
    void setGradColor(TColor color);
    // The gradient runs top to bottom when set, left to right otherwise.
    bool gradVertical() const { return m_gradVertical; }
    void setGradVertical(bool vertical);
    // Fill the background with a gradient from Color to GradColor instead of Color alone.
    bool gradation() const { return m_gradation; }
    void setGradation(bool on);

    // Takes over every value of other (one changed() at most).
    void assign(const TShineBtnColors& other);

signals:
    void changed();

private:
    template <typename T> void set(T& field, T value);

    TColor m_color;
    TColor m_highlight = clBtnHighlight;
    TColor m_shadow = clBtnShadow;
    TColor m_darkShadow = clWindowFrame;
    TColor m_gradColor = 0xFF0000; // blue
    bool m_gradVertical = false;
    bool m_gradation = false;
};
