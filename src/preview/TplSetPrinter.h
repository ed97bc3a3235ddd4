#pragma once
// Remembers which printer a print form uses and with which device settings, makes them
// the system printer's current ones, and exposes the device values the preview engine
// lays pages out with. Stored as a "TPF0" component stream in the form's .plv file.

#include "platform/DevMode.h"
#include "platform/PrinterDriver.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QVector>

class QIODevice;
struct PrinterEntry;

class TplSetPrinter : public QObject {
    Q_OBJECT
public:
    // componentName is the component's name in its stream (plSetPrinter1, plSetLabel).
    explicit TplSetPrinter(const QString& componentName, QObject* parent = nullptr);
    ~TplSetPrinter() override;

    QString componentName() const;

    // Reading gives the resolved printer name; writing stores the text and selects the printer.
    QString PrinterName() const;
    void setPrinterName(const QString& name);
    // The text last written to PrinterName, or the printer name taken from the device data.
    QString PrinterNameText() const;
    // Position of the component's printer in the printer list, -1 for the system default.
    int PrinterIndex() const;

    void ReadFromPrinter(bool reselect);
    void ApplyStoredSettings(bool fromStream);
    int FindIndex() const;

    int DevDataSize() const;
    const QByteArray& DevData() const;

    QString PaperName() const;
    QString PaperSourceName() const;
    bool Landscape() const;
    int LogPixelsX() const;
    int LogPixelsY() const;
    int PhysicalWidth() const;
    int PhysicalHeight() const;
    int PrintableWidth() const;
    int PrintableHeight() const;
    int PhysicalOffsetX() const;
    int PhysicalOffsetY() const;
    // The eight values above at once.
    const DeviceValues& deviceValues() const;

    // Component stream. The designer position Left (and Top) is written when not 0.
    int designLeft() const;
    void setDesignLeft(int left);
    int designTop() const;
    void setDesignTop(int top);
    // The component as a stream: signature, component, and with endOfComponentList the
    // extra end marker of a snapshot file.
    QByteArray toStream(bool endOfComponentList = false) const;
    bool writeComponent(QIODevice* out, bool endOfComponentList = false) const;
    // Reads a stream written by writeComponent (or by the Windows program). A truncated,
    // oversized or garbage stream is rejected and leaves the component as it was.
    bool readComponent(QIODevice* in);
    bool readComponent(const QByteArray& stream);
    bool saveToFile(const QString& path, bool endOfComponentList = false) const;
    bool loadFromFile(const QString& path);
    // Why the last read, load or save failed.
    QString errorString() const;

    // Streams larger than this are not component streams of ours.
    static constexpr qint64 MaxStreamSize = 1024 * 1024;

    // True when the name contains "Acrobat", "PDFWriter" or "Distiller" (any case).
    static bool isPdfPrinterName(const QString& name);

    // Name resolution over a printer list: the printer, hidden ones skipped, whose name the
    // text contains (case-insensitive); of several, the longest name (then the first).
    // Positions count hidden printers.
    static int FindIndexIn(const QVector<PrinterEntry>& printers, const QString& text);
    static QString ResolveNameIn(const QVector<PrinterEntry>& printers, const QString& text);

private:
    void refreshValues();
    struct Impl;
    Impl* d;
};
