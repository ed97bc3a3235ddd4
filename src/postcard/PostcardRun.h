#pragma once
// The postcard print run: one card per record (or only the record on screen), titled
// "ハガキ宛名印刷", on postcard paper, with the printer of plSetPrinter1.plv.

#include "postcard/PostcardSnapshot.h"
#include "layout/PrintCheck.h"
#include "preview/PrintRun.h"

class PostcardRun final : public PrintRun {
public:
    explicit PostcardRun(PostcardSnapshot snapshot) : m_snapshot(std::move(snapshot)) {}

    // The postcard form's printer component (its file is plSetPrinter1.plv).
    static QString componentName() { return QStringLiteral("plSetPrinter1"); }

    QString title() const override { return QStringLiteral("ハガキ宛名印刷"); }
    QString printerComponent() const override { return componentName(); }
    RunPaper paper() const override;
    int pageCount() const override { return m_snapshot.pageCount(); }
    void drawPage(TplPrev& engine) const override;
    // The check before printing over the records the run prints (CheckPostcardRun): the texts that do
    // not fit their fields and the customer barcodes. The forms go through its records.
    PrintCheckReport check() const;
    // check()'s lines.
    QStringList checkBeforePrinting() const override;

    const PostcardSnapshot& snapshot() const { return m_snapshot; }

private:
    PostcardSnapshot m_snapshot;
};
