#pragma once
// The sender dialog: edits the nine sender strings and the two joint names of
// AppSettings::instance().sender and saves them on a confirmed update.

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

class TFrmSetMoto : public QDialog {
    Q_OBJECT
public:
    explicit TFrmSetMoto(QWidget* parent = nullptr);

    // Opens the dialog modally, centred over the caller. True when the user confirmed an
    // update (the sender in AppSettings changed, even if writing the file failed).
    static bool execOver(QWidget* caller);
    // Top-left of a window of size `dialog` centred over `caller` (outer frames), each
    // half-difference cut toward zero.
    static QPoint centredPosition(const QRect& caller, const QSize& dialog);

    QLabel* pnlTitle;
    QFrame* pnlBody;
    QLineEdit* edtPost;
    QLineEdit* edtAdr1;
    QLineEdit* edtAdr2;
    QLineEdit* edtMei1;
    QLineEdit* edtRen1; // joint names printed with name 1
    QLineEdit* edtRen2;
    QLineEdit* edtMei2;
    QLineEdit* edtTel;
    QLineEdit* edtFax;
    QLineEdit* edtMail;
    QLineEdit* edtUrl;
    QPushButton* bbtnUpdate;
    QPushButton* bbtnCancel;

public slots:
    void bbtnUpdateClick();
    void bbtnCancelClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* addRow(int row, int x, int captionWidth, const QString& caption, int editWidth,
                      bool japaneseInput);
};
