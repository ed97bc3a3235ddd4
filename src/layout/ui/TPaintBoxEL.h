#pragma once
// The text box of one layout field: a windowless control that draws on its parent (it fills
// no background) and leaves the drawing to its OnPaint handler, which every box of a form
// shares (LayoutFields::PaintField).

#include <QColor>
#include <QString>
#include <QWidget>

#include <functional>

class TPaintBoxEL : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool Tate READ Tate WRITE setTate)
    Q_PROPERTY(bool Bold READ Bold WRITE setBold)
    Q_PROPERTY(bool Ita READ Ita WRITE setIta)
    Q_PROPERTY(QString Moji READ Moji WRITE setMoji)
    Q_PROPERTY(bool Post READ Post WRITE setPost)
    Q_PROPERTY(int FontSize READ FontSize WRITE setFontSize)
    Q_PROPERTY(QColor LineColor READ LineColor WRITE setLineColor)
    Q_PROPERTY(TAlignment Alignment READ Alignment WRITE setAlignment)

public:
    // The control's own order (the stored field style uses 0 left, 1 centre, 2 right).
    enum TAlignment { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };
    Q_ENUM(TAlignment)

    explicit TPaintBoxEL(QWidget* parent = nullptr);

    bool Tate() const { return tate_; }
    // Turning the box swaps its width and height (it keeps its length), then Change fires.
    void setTate(bool value);
    bool Bold() const { return bold_; }
    void setBold(bool value);
    bool Ita() const { return ita_; }
    void setIta(bool value);
    const QString& Moji() const { return moji_; }
    void setMoji(const QString& value);
    bool Post() const { return post_; }
    void setPost(bool value);
    int FontSize() const { return fontSize_; }
    void setFontSize(int value);
    QColor LineColor() const { return lineColor_; }
    void setLineColor(const QColor& value);
    TAlignment Alignment() const { return alignment_; }
    void setAlignment(TAlignment value);

    // The face name of the box's font as the layout stores it ("@ＭＳ 明朝", ...).
    const QString& FontName() const { return fontName_; }
    void setFontName(const QString& value);

    // The field number 1..15 (the form's tag), 0 when the box is no field.
    int Field() const { return field_; }
    void setField(int value) { field_ = value; }

    // Stored alignment (0 left, 1 centre, 2 right) <-> the control's order.
    static TAlignment alignmentFromStored(int stored);
    static int storedAlignment(TAlignment alignment);

    using PaintHandler = std::function<void(TPaintBoxEL* box, QPainter& painter)>;
    void setOnPaint(PaintHandler handler) { onPaint_ = std::move(handler); }

signals:
    // Fired by the setters when a value actually changes.
    void Change(TPaintBoxEL* sender);
    void OnMouseEnter(TPaintBoxEL* sender);
    void OnMouseLeave(TPaintBoxEL* sender);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void changed();

    bool tate_ = false;
    bool bold_ = false;
    bool ita_ = false;
    QString moji_;
    bool post_ = false;
    int fontSize_ = 9;
    QColor lineColor_{128, 128, 128};
    TAlignment alignment_ = taLeftJustify;
    QString fontName_;
    int field_ = 0;
    PaintHandler onPaint_;
};
