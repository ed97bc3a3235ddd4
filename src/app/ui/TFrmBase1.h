#pragma once
// The base form of the main menu and the two print forms: the status bar stsbMsg with
// four panels (date, time, a label of the derived form, the hint line), the clock Timer1,
// and the application-wide hint handler that writes the long part of the hint of the
// control under the mouse into panel 3 of the form's status bar.

#include <QDateTime>
#include <QDialog>
#include <functional>

class QLabel;
class QStatusBar;
class QTimer;

class TFrmBase1 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmBase1(QWidget* parent = nullptr);
    ~TFrmBase1() override;

    static constexpr int kPanelCount = 4;
    QString panelText(int panel) const;
    void setPanelText(int panel, const QString& text);

    // Where the clock takes the current time from; tests hand in their own. An empty
    // function restores the system clock.
    using Clock = std::function<QDateTime()>;
    static void setClock(Clock clock);
    // The clock's texts: date "yyyy/mm/dd", time "h:nn" (24-hour clock, hour without a
    // leading zero).
    static QString dateText(const QDateTime& t);
    static QString timeText(const QDateTime& t);

    // A control's hint "short|long": the short part becomes the tooltip (when
    // showTooltip), the long part (or the whole hint without "|") goes to the hint line.
    static void setHint(QWidget* control, const QString& hint, bool showTooltip = true);

    // The form font: "ＭＳ Ｐゴシック", 12 px, with IPA faces behind it.
    static QFont formFont();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

    QStatusBar* stsbMsg;
    QTimer* Timer1;

private slots:
    void Timer1Timer();

private:
    QLabel* m_panels[kPanelCount];
};
