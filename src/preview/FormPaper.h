#pragma once
// The paper each print form is made for: the postcard form prints one Japanese postcard
// (100 × 148 mm, portrait) per page, the label form an A4 sheet. Finding that paper among a
// printer's, putting it in force when a form has no printer file of its own yet, and
// telling whether the paper in use is it (within 1 mm, as drivers round their sizes).

#include <QString>

class PrinterDriver;
class TplSetPrinter;
struct DeviceValues;

enum class FormPaper { Postcard, A4 };

namespace FormPapers {

// The DMPAPER number of the driver's paper for the form, 0 when it has none. A postcard is
// any portrait 100 × 148 mm sheet, whatever the driver calls it ("Postcard",
// "JapanesePostcard", "100x148mm" ...); a double postcard or a landscape one is not.
int find(const PrinterDriver& driver, FormPaper paper);

// True when the device values are the form's sheet, portrait. False without a printer.
bool matches(const DeviceValues& values, FormPaper paper);

// Puts the form's paper, portrait, in force on the component's printer (which must be the
// system printer's selected one, as after setPrinterName or ReadFromPrinter) and reads it
// back into the component. False, with nothing changed, when its driver has no such paper.
bool choose(TplSetPrinter& printer, FormPaper paper);

// "ハガキ" or "A4".
QString name(FormPaper paper);

// Empty when the component's paper is the form's, or when there is no printer; otherwise
// which paper will be used and that it is not the form's, for example
// "用紙「A4」（210.0 × 297.0 mm）はハガキ（100 × 148 mm）ではありません。".
QString mismatch(const TplSetPrinter& printer, FormPaper paper);

} // namespace FormPapers
