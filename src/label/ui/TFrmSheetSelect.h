#pragma once
// The dialogs of the label form's "ラベル設定" for sheets by product name:
//  - "用紙選択": every label sheet of the template files that Tovalin can print (maker,
//    product number, 面数, label size, description), a search box that filters by any of
//    them, and a picture of the sheet under the cursor;
//  - "用紙登録": the maker and product number under which the current sheet is kept as a
//    user template.

#include "label/LabelTemplates.h"

#include <QDialog>
#include <QVector>

class QLabel;
class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

// The A4 sheet with its labels outlined, scaled into the widget.
class TSheetPicture : public QWidget {
    Q_OBJECT
public:
    explicit TSheetPicture(QWidget* parent = nullptr);
    // The sheet drawn; none (an empty page) when `sheet` is nullptr.
    void setSheet(const LabelSheet* sheet);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_hasSheet = false;
    LabelSheet m_sheet;
};

class TFrmSheetSelect : public QDialog {
    Q_OBJECT
public:
    explicit TFrmSheetSelect(const QVector<LabelTemplates::Product>& products, QWidget* parent = nullptr);

    // The product of the current row, or nullptr when the filter leaves none.
    const LabelTemplates::Product* selected() const;
    // Rows the search leaves in the list.
    int shownCount() const;
    // The product of a row as shown (after search and sorting).
    const LabelTemplates::Product* shownProduct(int row) const;
    // Makes a shown row the current one.
    void selectRow(int row);

    QLineEdit* edtSearch;
    QTableView* grdSheets;
    TSheetPicture* imgSheet;
    QLabel* lblSheet;   // the current sheet's values
    QLabel* lblCount;   // "612 件中 118 件"
    QPushButton* bbtnOk;
    QPushButton* bbtnCancel;

private:
    void searchChanged(const QString& text);
    void currentChanged();

    const QVector<LabelTemplates::Product>& m_products;
    QSortFilterProxyModel* m_proxy;
};

class TFrmSheetRegister : public QDialog {
    Q_OBJECT
public:
    // `sheet` is shown as what will be registered.
    TFrmSheetRegister(const LabelSheet& sheet, QWidget* parent = nullptr);

    QString maker() const;
    QString part() const;
    QString description() const;

    QLineEdit* edtMaker;
    QLineEdit* edtPart;
    QLineEdit* edtDescription;
    QPushButton* bbtnOk;
    QPushButton* bbtnCancel;

    void accept() override; // refuses blank names with a message
};
