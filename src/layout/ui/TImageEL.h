#pragma once
// The stamp picture control of a layout form: shows a picture, at its natural size or
// stretched to the control, and reports the mouse entering and leaving.

#include <QImage>
#include <QSize>
#include <QWidget>

#include <functional>

class TImageEL : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool Stretch READ Stretch WRITE setStretch)

public:
    explicit TImageEL(QWidget* parent = nullptr);

    // A picture drawn into a rectangle (a vector picture: metafile, SVG, ...).
    using Painter = std::function<void(QPainter& painter, const QRectF& target)>;

    // A bitmap picture (bitmap, icon, JPEG).
    void setPicture(const QImage& image);
    // A vector picture with the natural size it has when not stretched.
    void setPicture(Painter painter, QSize naturalSize);
    void clear();
    bool hasPicture() const;
    QSize naturalSize() const { return natural_; }

    bool Stretch() const { return stretch_; }
    void setStretch(bool value);
    // Resizes the control to the picture's natural size.
    void autoSize();

signals:
    void OnMouseEnter(TImageEL* sender);
    void OnMouseLeave(TImageEL* sender);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QImage image_;
    Painter vector_;
    QSize natural_;
    bool stretch_ = false;
};
