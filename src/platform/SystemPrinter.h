#pragma once
// The system printer object: the printers CUPS knows, the one selected, the device-mode
// record in use and the device values of its paper, and print jobs that reach CUPS with
// the chosen paper, orientation and tray. With no scheduler or no printer the list is
// empty and every operation does nothing.
//
// A job is painted into a temporary PDF whose page is the physical sheet (landscape pages
// are landscape-shaped) at the printer's resolution, and handed to CUPS with the record's
// PageSize/media, InputSlot/media-source, resolution, duplex and orientation options.

#include "platform/DevMode.h"
#include "platform/PrinterDriver.h"

#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>

class QPaintDevice;
class QPainter;

struct PrinterEntry {
    QString name;
    QString info;                           // the queue's description (printer-info)
    quint32 attributes = 0;                 // PRINTER_ATTRIBUTE_* bits; 0x20 marks a hidden printer
    bool hidden() const { return (attributes & AttributeHidden) != 0; }

    static constexpr quint32 AttributeDefault = 0x04;
    static constexpr quint32 AttributeShared = 0x08;
    static constexpr quint32 AttributeNetwork = 0x10;
    // Queues CUPS made by itself for printers it discovered: not one the user set up.
    static constexpr quint32 AttributeHidden = 0x20;
    static constexpr quint32 AttributeLocal = 0x40;
};

class SystemPrinter {
public:
    static SystemPrinter& instance();

    // Printer list in CUPS order, taken on first use; refresh() takes it again (and keeps
    // the selection when that printer is still there).
    const QVector<PrinterEntry>& printers() const;
    void refresh();
    QString defaultPrinterName() const;
    int defaultPrinterIndex() const;     // -1 when there is no printer

    // The selected printer's position in the list (-1 when there is no printer).
    int printerIndex() const;
    // Selects a printer and makes its driver's default record current; -1 (or any index
    // outside the list) selects the system default printer.
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
    // What the selected printer's driver offers (papers, trays, resolutions, duplex).
    const PrinterDriver& driver() const;
    // The same for any printer in the list, without selecting it (for dialogs that let the
    // user look around before confirming).
    const PrinterDriver& driverAt(int index) const;
    DevMode defaultDevModeAt(int index) const;
    DevMode completeAt(int index, const DevMode& mode) const;
    // Selects a printer with a record (validated and completed) in one step.
    void select(int index, const DevMode& mode);
    // The CUPS options a job on the selected printer carries.
    QVector<QPair<QString, QString>> jobOptions() const;

    // Print job on the selected printer with the current device mode. Draw either through
    // painter() or with a QPainter of your own on device() (begun after beginDoc, ended
    // before endDoc), not both. Coordinates are printer pixels from the top-left corner of
    // the physical sheet, at LOGPIXELSX of the device values. painter() is made on first use
    // and keeps its state across pages; when LOGPIXELSY differs from LOGPIXELSX it starts
    // with a scaling transform so that y is in LOGPIXELSY pixels: combine with it
    // (setTransform(t, true)) rather than replacing it.
    bool beginDoc(const QString& title);
    QPainter* painter() const;                 // null outside a job
    QPaintDevice* device() const;              // the job's paint device, null outside a job
    bool newPage();                            // needs an active painter on the device
    bool endDoc();                             // submits the job; false when CUPS refused it
    void abortDoc();
    bool printing() const;
    int pageNumber() const;                    // pages begun in the running job
    int lastJobId() const;                     // CUPS job id of the last submitted job, 0 if none
    QString errorString() const;

private:
    SystemPrinter();
    ~SystemPrinter();
    SystemPrinter(const SystemPrinter&) = delete;
    SystemPrinter& operator=(const SystemPrinter&) = delete;
    struct Impl;
    std::unique_ptr<Impl> d;
};
