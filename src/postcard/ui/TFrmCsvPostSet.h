#pragma once
// The postcard form "宛名印刷": the shared layout editor over a real-size postcard picture
// (imgCard) with what only the postcard has: the printed postal-code boxes with field 1
// pinned over them, the sender postal frame (cbPost), the selected field's position
// read-outs, the printable-area outline, the print range (lblPage, cbOnly) and the
// postcard print run.

#include "layout/ui/TLayoutEditForm.h"
#include "postcard/PostcardSnapshot.h"

#include <QImage>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;

class TFrmCsvPostSet : public TLayoutEditForm {
    Q_OBJECT
public:
    explicit TFrmCsvPostSet(QWidget* parent = nullptr);

    // What the print run draws from: the document with the records, the record shown and
    // "表示宛名のみ印刷".
    PostcardSnapshot pageSnapshot() const;
    // The card picture as drawn last (background and printable area).
    const QImage& cardImage() const { return m_card; }

    QLabel* imgCard;
    QFrame* pnlFldPos;   // "項目位置情報"
    QLabel* lblFldTop;
    QLabel* lblFldLeft;
    QLabel* lblFldWidth;
    QCheckBox* cbPost;
    QGroupBox* pnlRange; // "印刷範囲"
    QLabel* lblPage;
    QCheckBox* cbOnly;

public slots:
    void cbPostMarkClick() override;
    void bbtnPrintClick() override;

protected:
    void DrawCardBackground() override;
    void DrawPrintableArea() override;
    void recordFilled() override;
    void showFieldPosition() override;
    void fieldShown(int field) override;
    void layoutControls() override;
    bool printsShownRecordOnly() const override;
    PrintCheckReport checkRun() const override;

private:
    QImage m_card;
};
