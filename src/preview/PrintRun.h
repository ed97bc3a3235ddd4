#pragma once
// One kind of print run as the form that starts it and tovalin-print both know it: its title
// in the preview window and the print queue, the printer component whose file
// (<component>.plv) keeps the form's printer, the paper the run is meant for, how many pages
// it has and how one page is drawn through the engine.

#include "preview/FormPaper.h"

#include <QString>
#include <QStringList>

class TplPrev;

// The paper of a run: the sheet of a PDF file and the paper asked of a printer.
struct RunPaper {
    int width = 0;   // 0.1 mm
    int height = 0;
    FormPaper form = FormPaper::Postcard;
};

class PrintRun {
public:
    virtual ~PrintRun() = default;

    virtual QString title() const = 0;
    virtual QString printerComponent() const = 0;
    virtual RunPaper paper() const = 0;
    virtual int pageCount() const = 0;
    // Draws the page the engine is rendering (its CurrentPage).
    virtual void drawPage(TplPrev& engine) const = 0;
    // What the checks before printing find, as lines for the user (the forms show them in
    // one warning before their question, tovalin-print on standard error); the run goes on.
    virtual QStringList checkBeforePrinting() const { return {}; }

    // Title and page count set on the engine, ready for BeginPreview with drawPage.
    void prepare(TplPrev& engine) const;
};
