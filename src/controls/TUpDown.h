#pragma once
// A pair of arrow buttons that step a position within [min, max]. Before the position
// moves, the changing handler is asked with the proposed position and may refuse; then
// nothing moves. Arrow clicks (with auto-repeat), the Up/Down keys and the mouse wheel,
// on the control or on its associate (the read-out beside it), all take that path.

#include <QPointer>
#include <QWidget>

#include <functional>

class QToolButton;

class TUpDown : public QWidget {
    Q_OBJECT
public:
    enum class Direction { None, Up, Down };
    // Returns false to refuse the proposed position.
    using ChangingHandler = std::function<bool(int newPosition, Direction direction)>;

    explicit TUpDown(QWidget* parent = nullptr);

    int min() const { return m_min; }
    void setMin(int min);
    int max() const { return m_max; }
    void setMax(int max);
    int position() const { return m_position; }
    // Set from code: clamped to the range, never asks the handler.
    void setPosition(int position);
    int increment() const { return m_increment; }
    void setIncrement(int increment);

    void setOnChangingEx(ChangingHandler handler) { m_changing = std::move(handler); }

    // A widget (the read-out beside the arrows) whose Up/Down keys and wheel step this control.
    void setAssociate(QWidget* associate);
    QWidget* associate() const { return m_associate; }

    // One step as an arrow click makes it. True when the position moved.
    bool step(Direction direction);

    QSize sizeHint() const override;

signals:
    void positionChanged(int position);
    // After a step that moved the position.
    void clicked(TUpDown::Direction direction);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool handleKey(QKeyEvent* event);
    void handleWheel(QWheelEvent* event);
    void placeButtons();
    void clampPosition();

    QToolButton* m_up;
    QToolButton* m_down;
    QPointer<QWidget> m_associate;
    ChangingHandler m_changing;
    int m_min = 0;
    int m_max = 100;
    int m_position = 0;
    int m_increment = 1;
    int m_wheelAccumulated = 0;
    bool m_asking = false; // the changing handler is running
};
