#include "controls/TUpDown.h"

#include <QKeyEvent>
#include <QPointer>
#include <QToolButton>
#include <QWheelEvent>

TUpDown::TUpDown(QWidget* parent)
    : QWidget(parent)
    , m_up(new QToolButton(this))
    , m_down(new QToolButton(this))
{
    setFocusPolicy(Qt::StrongFocus);
    for (QToolButton* b : {m_up, m_down}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRepeat(true);
        b->setAutoRepeatDelay(400);
        b->setAutoRepeatInterval(60);
    }
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    connect(m_up, &QToolButton::clicked, this, [this] { step(Direction::Up); });
    connect(m_down, &QToolButton::clicked, this, [this] { step(Direction::Down); });
    placeButtons();
}

QSize TUpDown::sizeHint() const
{
    return QSize(17, 22);
}

void TUpDown::clampPosition()
{
    const int p = qBound(m_min, m_position, m_max);
    if (p != m_position) {
        m_position = p;
        emit positionChanged(m_position);
    }
}

void TUpDown::setMin(int min)
{
    m_min = min;
    if (m_max < m_min)
        m_max = m_min;
    clampPosition();
}

void TUpDown::setMax(int max)
{
    m_max = max;
    if (m_min > m_max)
        m_min = m_max;
    clampPosition();
}

void TUpDown::setPosition(int position)
{
    const int p = qBound(m_min, position, m_max);
    if (p == m_position)
        return;
    m_position = p;
    emit positionChanged(m_position);
}

void TUpDown::setIncrement(int increment)
{
    m_increment = qMax(1, increment);
}

bool TUpDown::step(Direction direction)
{
    if (!isEnabled() || direction == Direction::None)
        return false;
    const qint64 target = qint64(m_position)
        + (direction == Direction::Up ? qint64(m_increment) : -qint64(m_increment));
    const int proposed = int(qBound(qint64(m_min), target, qint64(m_max)));
    if (proposed == m_position)
        return false;
    if (m_changing) {
        // A handler that shows a message box runs a nested event loop in which a held arrow
        // goes on repeating; those repeats are not new proposals, or one refusal would stack
        // up a message box per repeat.
        if (m_asking)
            return false;
        QPointer<TUpDown> self(this);
        m_asking = true;
        const bool allowed = m_changing(proposed, direction);
        if (!self)
            return false;
        m_asking = false;
        if (!allowed) {
            // A refusal often shows a message box; the button must not go on repeating
            // behind it.
            m_up->setDown(false);
            m_down->setDown(false);
            return false;
        }
    }
    m_position = proposed;
    emit positionChanged(m_position);
    emit clicked(direction);
    return true;
}

void TUpDown::setAssociate(QWidget* associate)
{
    if (m_associate)
        m_associate->removeEventFilter(this);
    m_associate = associate;
    if (m_associate)
        m_associate->installEventFilter(this);
}

bool TUpDown::handleKey(QKeyEvent* event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    if (event->key() == Qt::Key_Up)
        step(Direction::Up);
    else if (event->key() == Qt::Key_Down)
        step(Direction::Down);
    else
        return false;
    return true;
}

void TUpDown::handleWheel(QWheelEvent* event)
{
    // One step per notch (120 units); smooth wheels add up to a notch.
    m_wheelAccumulated += event->angleDelta().y();
    while (m_wheelAccumulated >= 120 || m_wheelAccumulated <= -120) {
        const bool up = m_wheelAccumulated > 0;
        m_wheelAccumulated += up ? -120 : 120;
        if (!step(up ? Direction::Up : Direction::Down)) {
            m_wheelAccumulated = 0;
            break;
        }
    }
}

void TUpDown::keyPressEvent(QKeyEvent* event)
{
    if (!handleKey(event))
        QWidget::keyPressEvent(event);
}

void TUpDown::wheelEvent(QWheelEvent* event)
{
    handleWheel(event);
    event->accept();
}

bool TUpDown::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_associate && isEnabled()) {
        if (event->type() == QEvent::KeyPress && handleKey(static_cast<QKeyEvent*>(event)))
            return true;
        if (event->type() == QEvent::Wheel) {
            handleWheel(static_cast<QWheelEvent*>(event));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TUpDown::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeButtons();
}

void TUpDown::placeButtons()
{
    const int upHeight = height() / 2;
    m_up->setGeometry(0, 0, width(), upHeight);
    m_down->setGeometry(0, upHeight, width(), height() - upHeight);
}
