#pragma once
// The flat tool button of every form: a solid or graded background, one of three frame
// styles, a glyph that changes its look under the mouse, and a caption with optional
// shadow and highlight copies. It tracks the mouse itself and supports grouped toggle
// buttons (GroupIndex, Down, AllowAllUp) among the buttons of one parent.
//
// Looks: HoverPressed (pressed, mouse over), Pressed, Hover (mouse over), Normal,
// Disabled. Each look is painted into an off-screen image of the control's size
// (directly onto the control when Transparent), in this order: background, glyph,
// caption, frame. Colours are $BBGGRR values or system colours (platform/WinColor.h).
//
// Typical use:
//     auto* ssbHelp = new TShineBtn(this);
//     ssbHelp->setObjectName(QStringLiteral("ssbHelp"));
//     ssbHelp->setGlyph(Glyphs::get(QStringLiteral("help")));
//     setHint(ssbHelp, QStringLiteral("ヘルプ|ヘルプを表示します。"));
//     connect(ssbHelp, &TShineBtn::clicked, this, &TFrmAtenaMemu::ssbHelpClick);
// A toggle: setGroupIndex(n) (n unique for a lone toggle), setAllowAllUp(true), then
// isDown() / setDown(). A one-of-three group: the same GroupIndex on three siblings.

#include "controls/ShineGlyph.h"
#include "controls/TShineBtnColors.h"

#include <QFont>
#include <QImage>
#include <QPointer>
#include <QWidget>

class QAction;

enum TFrameType { ftFlatFrame, ftNormalFrame, ftEnclosedFrame };
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

class TShineBtn : public QWidget {
    Q_OBJECT
public:
    enum class Look { HoverPressed, Pressed, Hover, Normal, Disabled };

    // Where glyph and caption go inside a client area (see calcLayout).
    struct ContentLayout {
        QPoint glyphPos;
        QRect captionRect;
    };

    explicit TShineBtn(QWidget* parent = nullptr);
    ~TShineBtn() override;

    // --- caption, glyph, fonts ---------------------------------------------------------
    QString text() const { return m_text; }
    void setText(const QString& text);
    // The picture; kept as 32 bits per pixel without alpha (see ShineGlyph::normalized).
    // Its bottom-left pixel gives the transparent colour.
    QImage glyph() const { return m_glyph; }
    void setGlyph(const QImage& glyph);
    // QWidget::font() is the caption font; these are its colour and the mouse-over font.
    TColor fontColor() const { return m_fontColor; }
    void setFontColor(TColor color);
    QFont activeFont() const { return m_activeFontSet ? m_activeFont : font(); }
    void setActiveFont(const QFont& font);
    TColor activeFontColor() const { return m_activeFontColor; }
    void setActiveFontColor(TColor color);
    // Extra caption copies at (-1, -1) and (+1, +1); clNone draws none.
    TColor fontHighlight() const { return m_fontHighlight; }
    void setFontHighlight(TColor color);
    TColor fontShadow() const { return m_fontShadow; }
    void setFontShadow(TColor color);
    TAlignment alignment() const { return m_alignment; }
    void setAlignment(TAlignment alignment);
    // "&" marks the accelerator (Alt + the letter clicks the button); off draws "&" literally.
    bool showAccelChar() const { return m_showAccelChar; }
    void setShowAccelChar(bool on);
    // The accelerator also toggles Down.
    bool accelCharDown() const { return m_accelCharDown; }
    void setAccelCharDown(bool on);

    // --- layout of glyph and caption -------------------------------------------------
    TButtonLayout glyphLayout() const { return m_glyphLayout; }
    void setGlyphLayout(TButtonLayout layout);
    // -1 centres the content; otherwise the distance from the edge on the glyph's side.
    int margin() const { return m_margin; }
    void setMargin(int margin);
    // Pixels between glyph and caption.
    int spacing() const { return m_spacing; }
    void setSpacing(int spacing);
    // >= 0 widens the caption rectangle to the free width less this margin, so that
    // Alignment takes effect (glyph left or right: only with Margin > 0).
    int alMargin() const { return m_alMargin; }
    void setAlMargin(int margin);

    // --- toggling ---------------------------------------------------------------------
    // Non-zero: the button toggles and belongs to the group of that index among the
    // TShineBtn children of its parent.
    int groupIndex() const { return m_groupIndex; }
    void setGroupIndex(int index);
    // Ignored without a group; without AllowAllUp a down button is raised only by another
    // button of its group going down.
    bool isDown() const { return m_down; }
    void setDown(bool down);
    bool allowAllUp() const { return m_allowAllUp; }
    void setAllowAllUp(bool allow);
    // Down follows the checked state of the linked action.
    bool actionCheckedDown() const { return m_actionCheckedDown; }
    void setActionCheckedDown(bool on);
    // The button shows pressed while its click handlers run.
    bool clickDownHook() const { return m_clickDownHook; }
    void setClickDownHook(bool on);

    // --- frame, background, glyph effects ---------------------------------------------
    TFrameType frameType() const { return m_frameType; }
    void setFrameType(TFrameType type);
    // Whether a frame is drawn in the mouse-over, up (Normal, Disabled) and down looks.
    bool activeFrame() const { return m_activeFrame; }
    void setActiveFrame(bool on);
    bool upFrame() const { return m_upFrame; }
    void setUpFrame(bool on);
    bool downFrame() const { return m_downFrame; }
    void setDownFrame(bool on);
    // No background and no off-screen image: the parent shows through.
    bool isTransparent() const { return m_transparent; }
    void setTransparent(bool on);
    TActiveImageType activeImage() const { return m_activeImage; }
    void setActiveImage(TActiveImageType type);
    TDecorationImageType upImage() const { return m_upImage; }
    void setUpImage(TDecorationImageType type);
    TDecorationImageType downImage() const { return m_downImage; }
    void setDownImage(TDecorationImageType type);
    TDecorationImageType disabledImage() const { return m_disabledImage; }
    void setDisabledImage(TDecorationImageType type);
    TColor shineColor() const { return m_shineColor; }
    void setShineColor(TColor color);
    TColor disabledHighlight() const { return m_disabledHighlight; }
    void setDisabledHighlight(TColor color);
    TColor disabledShadow() const { return m_disabledShadow; }
    void setDisabledShadow(TColor color);

    // Colour sets, owned by the button; changing them repaints it.
    TShineBtnColors* colors() const { return m_colors; }
    TShineBtnColors* pressedColors() const { return m_pressedColors; }
    TShineBtnColors* activeColors() const { return m_activeColors; }
    // Use ActiveColors in the mouse-over looks.
    bool activeColorsEnabled() const { return m_activeColorsEnabled; }
    void setActiveColorsEnabled(bool on);

    // --- action -------------------------------------------------------------------------
    // A click triggers the action; its text, enabled and visible state, tips and (with
    // ActionCheckedDown) checked state are taken over whenever it changes.
    QAction* action() const { return m_action; }
    void setAction(QAction* action);

    // --- state --------------------------------------------------------------------------
    Look look() const { return m_look; }
    bool isInside() const { return m_inside; }
    bool isPressing() const { return m_pressing; }
    // Clicks the button as a mouse click does (ClickDownHook, clicked(), the action).
    void click();

    // Glyph and caption placement in a client area of size client (the caption
    // measured as textSize, zero when empty; the glyph zero when there is none).
    static ContentLayout calcLayout(QSize client, QSize glyphSize, QSize textSize, TButtonLayout layout,
        int margin, int spacing, int alMargin);

    // Paints the given look as the button would into an image of its size (the
    // background included even when Transparent; for tests and previews).
    QImage renderLook(Look look) const;

    QSize sizeHint() const override;

signals:
    void clicked();
    // Double click, passed on only in the looks HoverPressed and Pressed.
    void doubleClicked();
    void mouseEntered();
    void mouseLeft();
    void downChanged(bool down);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    template <typename T> void setAndRepaint(T& field, T value);
    void paintContent(QPainter& painter, Look look, bool withBackground) const;
    void paintBackground(QPainter& painter, const TShineBtnColors& set) const;
    void paintFrame(QPainter& painter, Look look, const TShineBtnColors& set) const;
    const TShineBtnColors& colorSetFor(Look look) const;
    QColor resolve(TColor color) const;
    int textFlags() const;
    void setLook(Look look);
    void mouseEnterStep();
    void mouseLeaveStep();
    void recheckUnderCursor(const QPoint& localPos);
    bool isUnderCursor(const QPoint& localPos) const;
    void applyDown(bool down);
    void notifyGroup();
    void groupButtonPressed(const TShineBtn& sender);
    void updateShortcut();
    void syncFromAction();
    void pressStep();

    QString m_text;
    QImage m_glyphSource;
    QImage m_glyph;
    TColor m_fontColor = clBtnText;
    QFont m_activeFont;
    bool m_activeFontSet = false;
    TColor m_activeFontColor = clHighlight;
    TColor m_fontHighlight = clNone;
    TColor m_fontShadow = clNone;
    TAlignment m_alignment = taCenter;
    bool m_showAccelChar = true;
    bool m_accelCharDown = false;
    TButtonLayout m_glyphLayout = blGlyphLeft;
    int m_margin = -1;
    int m_spacing = 4;
    int m_alMargin = -1;
    int m_groupIndex = 0;
    bool m_down = false;
    bool m_allowAllUp = false;
    bool m_actionCheckedDown = false;
    bool m_clickDownHook = false;
    TFrameType m_frameType = ftNormalFrame;
    bool m_activeFrame = true;
    bool m_upFrame = true;
    bool m_downFrame = true;
    bool m_transparent = false;
    TActiveImageType m_activeImage = aiFrameLight;
    TDecorationImageType m_upImage = diDefault;
    TDecorationImageType m_downImage = diDefault;
    TDecorationImageType m_disabledImage = diDefault;
    TColor m_shineColor = 0x00FFFF; // yellow
    TColor m_disabledHighlight = clBtnHighlight;
    TColor m_disabledShadow = clBtnShadow;
    TShineBtnColors* m_colors;
    TShineBtnColors* m_pressedColors;
    TShineBtnColors* m_activeColors;
    bool m_activeColorsEnabled = false;
    QPointer<QAction> m_action;

    Look m_look = Look::Normal;
    bool m_inside = false;
    bool m_pressing = false;
    bool m_inClickHook = false;
    int m_shortcutId = 0;
};

// The name the forms' descriptions use for this control.
using TShineSpeedButton = TShineBtn;
