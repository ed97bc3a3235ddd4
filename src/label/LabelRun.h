#pragma once
// The label print run: A4 sheets filled from the start cell, titled "A4ラベル宛名印刷", with
// the printer of plSetLabel.plv.

#include "label/LabelSnapshot.h"
#include "layout/PrintCheck.h"
#include "preview/PrintRun.h"

class LabelRun final : public PrintRun {
public:
    explicit LabelRun(LabelSnapshot snapshot) : m_snapshot(std::move(snapshot)) {}

    // The label form's printer component (its file is plSetLabel.plv).
    static QString componentName() { return QStringLiteral("plSetLabel"); }

    QString title() const override { return QStringLiteral("A4ラベル宛名印刷"); }
    QString printerComponent() const override { return componentName(); }
    RunPaper paper() const override;
    int pageCount() const override { return m_snapshot.pageCount(); }
    void drawPage(TplPrev& engine) const override;
    // The check before printing over the records the run prints (CheckLabelRun): the texts that do
    // not fit their fields and the customer barcodes. The forms go through its records.
    PrintCheckReport check() const;
    // check()'s lines.
    QStringList checkBeforePrinting() const override;

    const LabelSnapshot& snapshot() const { return m_snapshot; }

private:
    LabelSnapshot m_snapshot;
};
