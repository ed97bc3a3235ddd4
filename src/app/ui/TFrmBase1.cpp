#include "app/ui/TFrmBase1.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>

namespace {

TFrmBase1::Clock& clockFunction()
{
    static TFrmBase1::Clock clock;
    return clock;
}

QDateTime now()
{
    const TFrmBase1::Clock& c = clockFunction();
    return c ? c() : QDateTime::currentDateTime();
}

// One handler for the whole application, installed again (harmlessly) by every form.
class HintHandler : public QObject {
public:
    static void install()
    {
        static HintHandler* handler = nullptr;
        if (!handler) {
            handler = new HintHandler(qApp);
            qApp->installEventFilter(handler);
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::StatusTip)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget)
            return false;
        // The form the control sits on shows the hint, when it has a status bar.
        if (auto* form = qobject_cast<TFrmBase1*>(widget->window()))
            form->setPanelText(3, static_cast<QStatusTipEvent*>(event)->tip());
        return false;
    }

private:
    using QObject::QObject;
};

} // namespace

TFrmBase1::TFrmBase1(QWidget* parent)
    : QDialog(parent), stsbMsg(new QStatusBar(this)), Timer1(new QTimer(this))
{
    setFont(formFont());
    stsbMsg->setObjectName(QStringLiteral("stsbMsg"));
    stsbMsg->setSizeGripEnabled(false);
    stsbMsg->setFixedHeight(19);
    const int widths[kPanelCount] = { 80, 50, 90, 50 };
    for (int i = 0; i < kPanelCount; ++i) {
        auto* label = new QLabel(stsbMsg);
        label->setObjectName(QStringLiteral("stsbMsgPanel%1").arg(i));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setAlignment(i == 3 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
        if (i < 3)
            label->setFixedWidth(widths[i]);
        else
            label->setMinimumWidth(widths[i]);
        stsbMsg->addWidget(label, i == 3 ? 1 : 0);
        m_panels[i] = label;
    }

    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1);
    connect(Timer1, &QTimer::timeout, this, &TFrmBase1::Timer1Timer);
    Timer1->start();

    HintHandler::install();
}

TFrmBase1::~TFrmBase1() = default;

QString TFrmBase1::panelText(int panel) const
{
    return (panel >= 0 && panel < kPanelCount) ? m_panels[panel]->text() : QString();
}

void TFrmBase1::setPanelText(int panel, const QString& text)
{
    if (panel >= 0 && panel < kPanelCount)
        m_panels[panel]->setText(text);
}

void TFrmBase1::setClock(Clock clock)
{
    clockFunction() = std::move(clock);
}

QString TFrmBase1::dateText(const QDateTime& t)
{
    return t.toString(QStringLiteral("yyyy/MM/dd"));
}

QString TFrmBase1::timeText(const QDateTime& t)
{
    return t.toString(QStringLiteral("H:mm"));
}

void TFrmBase1::Timer1Timer()
{
    const QDateTime t = now();
    setPanelText(0, dateText(t));
    setPanelText(1, timeText(t));
    Timer1->setInterval(10000);
}

void TFrmBase1::setHint(QWidget* control, const QString& hint, bool showTooltip)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    const QString shortText = bar >= 0 ? hint.left(bar) : hint;
    const QString longText = bar >= 0 ? hint.mid(bar + 1) : hint;
    control->setToolTip(showTooltip ? shortText : QString());
    control->setStatusTip(longText);
}

QFont TFrmBase1::formFont()
{
    QFont f;
    f.setFamilies({ QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"),
                    QStringLiteral("IPAGothic") });
    f.setPixelSize(12);
    return f;
}

void TFrmBase1::keyPressEvent(QKeyEvent* event)
{
    // Escape does not close these forms; only their own buttons and the close box do.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFrmBase1::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    // Docked at the bottom, full width.
    stsbMsg->setGeometry(0, height() - stsbMsg->height(), width(), stsbMsg->height());
    stsbMsg->raise();
}
