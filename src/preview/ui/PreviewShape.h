#pragma once
// A plain rectangle of the preview window: the page's shadow (Shape2, filled, no outline)
// and its frame (Shape1, outline only). Mouse presses pass through to the page below.

#include <QColor>
#include <QWidget>

class PreviewShape : public QWidget {
    Q_OBJECT
public:
    // An invalid fill or outline colour leaves that part out.
    PreviewShape(const QColor& fill, const QColor& outline, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_fill;
    QColor m_outline;
};
