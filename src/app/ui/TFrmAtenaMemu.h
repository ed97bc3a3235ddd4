#pragma once
// The main menu: opens the CSV set-up dialog and, after the readiness check, the two
// print forms. Loads POSTCSV.INI each time it is shown; closing it ends the program.

#include "app/ui/TFrmBase1.h"

#include <functional>

class QLabel;
class QPushButton;
class TShineBtn;
class QFrame;

class TFrmAtenaMemu : public TFrmBase1 {
    Q_OBJECT
public:
    explicit TFrmAtenaMemu(QWidget* parent = nullptr);

    // The print forms live in libraries above this one; the program hands in how to make
    // them. A factory returns a new form (owned by the caller) for one modal use.
    using FormFactory = std::function<QDialog*(QWidget* parent)>;
    static void setPostcardFormFactory(FormFactory factory);
    static void setLabelFormFactory(FormFactory factory);

    // The directory set when the menu was last shown (with a trailing separator).
    QString programDirectory() const { return m_programDir; }
    // True when the settings could not be loaded and the menu closed itself.
    bool settingsFailed() const { return m_settingsFailed; }

public slots:
    void bbtnCsvLstClick();
    void BitBtn1Click();
    void BitBtn2Click();
    void bbtnCloseClick();
    void ssbHelpClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    QLabel* Panel3;
    TShineBtn* ssbHelp;
    QPushButton* bbtnCsvLst;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QPushButton* bbtnClose;
    QString m_programDir;
    bool m_settingsFailed = false;
};
