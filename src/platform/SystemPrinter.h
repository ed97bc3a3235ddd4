#pragma once
// The system printer object: the printers CUPS knows, the one selected, the device-mode
// record in use and the device values of its paper, and print jobs that reach CUPS with
// the chosen paper, orientation and tray. With no scheduler or no printer the list is
// empty and every operation does nothing.

#include "platform/DevMode.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>

class QPaintDevice;

struct PrinterEntry {
    QString name;
    quint32 attributes = 0;                 // 0x20 marks a hidden printer
    bool hidden() const { return (attributes & 0x20u) != 0; }
};

// Device values of the selected printer and paper, as the page layout needs them.
struct DeviceValues {
    int logPixelsX = 0;      // dots per inch
    int logPixelsY = 0;
    int physicalWidth = 0;   // whole sheet, printer pixels
    int physicalHeight = 0;
    int physicalOffsetX = 0; // sheet corner to printable area, printer pixels
    int physicalOffsetY = 0;
    int horzRes = 0;         // printable area, printer pixels
    int vertRes = 0;
};

class SystemPrinter {
public:
    static SystemPrinter& instance();

    // Printer list in CUPS order, taken on first use; refresh() takes it again.
    const QVector<PrinterEntry>& printers() const;
    void refresh();
    QString defaultPrinterName() const;

    // -1 selects the system default printer.
    int printerIndex() const;
    void setPrinterIndex(int index);
    QString printerName() const;               // the selected printer's listed name

    // The device-mode record in use, and the driver's defaults of the selected printer.
    DevMode devMode() const;
    void setDevMode(const DevMode& mode);      // validated and completed, then installed
    DevMode defaultDevMode() const;

    DeviceValues deviceValues() const;
    // The driver's paper names with their DMPAPER numbers, and its paper sources (trays).
    QVector<QPair<int, QString>> paperNames() const;
    QVector<QPair<int, QString>> paperSources() const;

    // Print job on the selected printer with the current device mode. The paint device's
    // coordinates are printer pixels from the top-left corner of the physical sheet.
    bool beginDoc(const QString& title);
    QPaintDevice* device() const;              // valid between beginDoc and endDoc
    bool newPage();
    bool endDoc();                             // submits the job; false when CUPS refused it
    void abortDoc();
    bool printing() const;
    QString errorString() const;

private:
    SystemPrinter();
    ~SystemPrinter();
    struct Impl;
    std::unique_ptr<Impl> d;
};
