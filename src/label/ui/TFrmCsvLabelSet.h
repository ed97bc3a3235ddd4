#pragma once
// The label form "A4ラベル宛名印刷": the shared layout editor over a real-size image of one
// label (pnlCard), with what only the label has: the sheet settings on the tab "ラベル設定"
// (up-down controls that refuse a change leaving the label smaller than its fields), the
// start cell of a partly used sheet, the recipient 〒 check box cbSPostMark, and the label
// print run (many labels per A4 page).

#include "label/LabelSheetModel.h"
#include "label/LabelSnapshot.h"
#include "layout/ui/TLayoutEditForm.h"

#include <map>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;
class TNumberEdit;
class TUpDown;

class TFrmCsvLabelSet : public TLayoutEditForm {
    Q_OBJECT
public:
    explicit TFrmCsvLabelSet(QWidget* parent = nullptr);

    // What the print run draws from: the document with the records and the start cell.
    LabelSnapshot pageSnapshot() const;
    // The document's sheet with the start cell.
    const LabelSheetModel& sheetModel() const { return m_sheet; }
    // What opening found wrong with the stored sheet (empty when nothing).
    const LabelOpeningReport& openingReport() const { return m_opening; }

    // A sheet setting about to take a new value (the up-downs ask before they move). When it
    // is refused the message is shown and nothing changes; when it is allowed it is one step
    // of the document, and H, W, the read-outs, the label image, the boxes and the start cell
    // follow at once.
    bool ProposeSheetChange(SheetSetting setting, int value);
    // A whole sheet at once (a label product chosen by name): the same rule and message, one
    // step.
    bool ProposeSheet(const LabelSheet& sheet);
    bool ProposeStartRow(int row);
    bool ProposeStartColumn(int column);

    // The up-down and read-out of a sheet setting.
    TUpDown* upDown(SheetSetting setting) const;
    TNumberEdit* readOut(SheetSetting setting) const;

    QTabWidget* pgcMain;     // "項目設定" / "ラベル設定"
    QWidget* tsField;        // "項目設定"
    QWidget* tsLabel;        // "ラベル設定"
    QCheckBox* cbSPostMark;  // "先頭に〒付加" for the recipient postal code

    TNumberEdit* nedtLblCol;
    TUpDown* udLblCol;
    TNumberEdit* nedtLblRow;
    TUpDown* udLblRow;
    TNumberEdit* nedtLblH;
    TNumberEdit* nedtLblW;
    TNumberEdit* nedtLblUpSp;
    TUpDown* udLblUpSp;
    TNumberEdit* nedtLblBotSp;
    TUpDown* udLblBotSp;
    TNumberEdit* nedtLblLefSp;
    TUpDown* udLblLefSp;
    TNumberEdit* nedtLblRigSp;
    TUpDown* udLblRigSp;
    TNumberEdit* nedtLblYokoSp;
    TUpDown* udLblYokoSp;
    TNumberEdit* nedtLblTateSp;
    TUpDown* udLblTateSp;
    QPushButton* bbtnSheetSelect;   // "用紙選択…": a sheet by product name
    QPushButton* bbtnSheetRegister; // "登録…": the current sheet as a user template

    QGroupBox* pnlStart;     // "印刷開始位置"
    TNumberEdit* nedtSRow;
    TUpDown* udSRow;
    TNumberEdit* nedtSCol;
    TUpDown* udSCol;

public slots:
    void cbPostMarkClick() override;
    void cbSPostMarkClick();
    void bbtnSheetSelectClick();
    void bbtnSheetRegisterClick();
    void bbtnPrintClick() override;

protected:
    void documentOpened(const LayoutOpening& opening) override;
    void optionsShown() override;
    void layoutControls() override;
    PrintCheckReport checkRun() const override;

private:
    void createLabelControls();
    void postMarkClicked(int field);
    void sheetShown();
    // A sheet change the rules allowed becomes a step; a refused one shows its message.
    bool takeSheet(const LayoutRules::SheetChange& change);
    void showSheet();
    void showStart();

    LabelSheetModel m_sheet;
    LabelOpeningReport m_opening;
    std::map<SheetSetting, std::pair<TNumberEdit*, TUpDown*>> m_settingControls;
};
