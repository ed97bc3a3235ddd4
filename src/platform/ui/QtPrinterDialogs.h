#pragma once
// The printer setup dialog and the print dialog as widgets of our own, built on the system
// printer object (Qt's QPrintDialog is tied to QPrinter, which cannot carry our device
// settings or reach CUPS trays).

#include "platform/PrinterChoice.h"
#include "platform/PrinterDialogs.h"

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

class QtPrinterDialogs final : public PrinterDialogs {
public:
    bool printerSetup(QWidget* owner) override;
    bool print(PrintRange& range, QWidget* owner) override;
};

// Printer, paper size, paper source and orientation. The choice is only edited here;
// QtPrinterDialogs applies it on OK.
class PrinterSetupDialog : public QDialog {
    Q_OBJECT
public:
    explicit PrinterSetupDialog(const PrinterChoice& choice, QWidget* parent = nullptr);
    const PrinterChoice& choice() const { return m_choice; }

    QComboBox* printerBox() const { return m_printer; }
    QComboBox* paperBox() const { return m_paper; }
    QComboBox* sourceBox() const { return m_source; }
    QRadioButton* portraitButton() const { return m_portrait; }
    QRadioButton* landscapeButton() const { return m_landscape; }

private:
    void fill();
    void printerChosen(int row);
    void paperChosen(int row);
    void sourceChosen(int row);
    void orientationChosen();

    PrinterChoice m_choice;
    QComboBox* m_printer;
    QLabel* m_info;
    QComboBox* m_paper;
    QComboBox* m_source;
    QRadioButton* m_portrait;
    QRadioButton* m_landscape;
    bool m_filling = false;
};

// Printer (with a button for its paper, tray and orientation) and the page range.
class PrintDialog : public QDialog {
    Q_OBJECT
public:
    PrintDialog(const PrinterChoice& choice, const PrintRange& range, QWidget* parent = nullptr);
    const PrinterChoice& choice() const { return m_choice; }
    // The range as the user left it.
    PrintRange range() const;

    QComboBox* printerBox() const { return m_printer; }
    QPushButton* propertiesButton() const { return m_properties; }
    QRadioButton* allButton() const { return m_all; }
    QRadioButton* pagesButton() const { return m_pages; }
    QSpinBox* fromBox() const { return m_from; }
    QSpinBox* toBox() const { return m_to; }
    QLabel* paperLabel() const { return m_paperInfo; }

private:
    void fill();
    void printerChosen(int row);
    void properties();
    void rangeChosen();

    PrinterChoice m_choice;
    PrintRange m_range;
    QComboBox* m_printer;
    QLabel* m_info;
    QLabel* m_paperInfo;
    QPushButton* m_properties;
    QRadioButton* m_all;
    QRadioButton* m_pages;
    QSpinBox* m_from;
    QSpinBox* m_to;
};
