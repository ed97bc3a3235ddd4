#pragma once
// What a printer's driver knows: its papers with their DMPAPER numbers and printable
// areas, its trays with DMBIN numbers, resolutions and duplex modes, read from the queue's
// PPD file or, for driverless queues, from its IPP attributes. It plays the part of the
// printer driver: it makes default device-mode records, validates and completes records
// (as DocumentProperties does), gives the device values of a record's paper and turns a
// record into the CUPS options of a job.

#include "platform/DevMode.h"

#include <QMap>
#include <QPair>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QVector>

// Device values of the selected printer and paper, as the page layout needs them
// (the GetDeviceCaps values of the same names).
struct DeviceValues {
    int logPixelsX = 0;      // dots per inch
    int logPixelsY = 0;
    int physicalWidth = 0;   // whole sheet, printer pixels
    int physicalHeight = 0;
    int physicalOffsetX = 0; // sheet corner to printable area, printer pixels
    int physicalOffsetY = 0;
    int horzRes = 0;         // printable area, printer pixels
    int vertRes = 0;

    bool operator==(const DeviceValues& o) const
    {
        return logPixelsX == o.logPixelsX && logPixelsY == o.logPixelsY
            && physicalWidth == o.physicalWidth && physicalHeight == o.physicalHeight
            && physicalOffsetX == o.physicalOffsetX && physicalOffsetY == o.physicalOffsetY
            && horzRes == o.horzRes && vertRes == o.vertRes;
    }
};

struct DriverPaper {
    QString key;           // PPD PageSize keyword or IPP media name
    QString name;          // the driver's name for it
    int dmPaper = 0;
    double widthPt = 0;    // portrait sheet in points
    double heightPt = 0;
    // Printable area in points, measured from the bottom-left corner (PPD ImageableArea).
    double left = 0, bottom = 0, right = 0, top = 0;
};

struct DriverBin {
    QString key;           // PPD InputSlot keyword or IPP media-source
    QString name;
    int dmBin = 0;
};

struct DriverResolution {
    QString key;           // PPD Resolution keyword, or "XxYdpi"
    int x = 0;
    int y = 0;
};

struct DriverDuplex {
    QString key;           // PPD Duplex keyword or IPP sides keyword
    QString name;
    int dmDuplex = DevMode::DuplexSimplex;
};

// Attributes of a driverless (IPP) queue, as read from the scheduler.
struct IppDescription {
    struct Media {
        QString name;      // PWG media name
        QString text;      // localised name
        int width = 0;     // hundredths of a millimetre
        int length = 0;
        int left = 0, right = 0, top = 0, bottom = 0;
    };
    QVector<Media> media;
    QVector<QPair<QString, QString>> sources;   // keyword, localised name
    QVector<QPair<int, int>> resolutions;       // x, y dpi
    QStringList sides;
    QString defaultMedia, defaultSource, defaultSides;
    QPair<int, int> defaultResolution{0, 0};
    bool color = false;
};

class PrinterDriver {
public:
    enum class Kind { None, Ppd, Ipp, Generic };

    // Options the queue itself sets as defaults (lpoptions, lpadmin -o): name -> value.
    using QueueDefaults = QMap<QString, QString>;

    PrinterDriver() = default;
    static PrinterDriver fromPpdFile(const QString& path, QString* error = nullptr);
    static PrinterDriver fromIpp(const IppDescription& description);
    // For a queue whose capabilities cannot be read: A4, Letter and postcard at 300 dpi.
    static PrinterDriver generic();

    bool isValid() const { return m_kind != Kind::None && !m_papers.isEmpty(); }
    Kind kind() const { return m_kind; }

    const QVector<DriverPaper>& papers() const { return m_papers; }
    const QVector<DriverBin>& bins() const { return m_bins; }
    const QVector<DriverResolution>& resolutions() const { return m_resolutions; }
    const QVector<DriverDuplex>& duplexModes() const { return m_duplex; }
    bool customSizes() const { return m_customSizes; }
    bool colorDevice() const { return m_color; }

    // The driver's paper names and paper sources with their numbers (DeviceCapabilities).
    QVector<QPair<int, QString>> paperNames() const;
    QVector<QPair<int, QString>> binNames() const;

    // The driver's default record for a printer (the queue's own defaults applied).
    DevMode defaultDevMode(const QString& printerName, const QueueDefaults& queue = {}) const;
    // Validates and completes a record: the settings it carries that this driver supports
    // are kept, the rest come from the defaults; bytes this driver does not understand
    // (unknown fields, another driver's private part) are carried along unchanged.
    DevMode complete(const DevMode& stored, const QString& printerName,
                     const QueueDefaults& queue = {}) const;

    // The paper a completed record selects (a user-defined size gets a paper of its own).
    DriverPaper paperFor(const DevMode& mode) const;
    DeviceValues deviceValues(const DevMode& mode) const;
    // The sheet as the job's pages are laid out: points, landscape turned.
    QSizeF sheetSizePoints(const DevMode& mode) const;
    // CUPS job options that carry the record's paper, tray, resolution, duplex, orientation
    // and copies.
    QVector<QPair<QString, QString>> jobOptions(const DevMode& mode) const;

    // DMPAPER number of a sheet size in 0.1 mm (portrait or landscape sizes), 0 if none.
    static int standardPaperNumber(int widthTenthMm, int heightTenthMm);
    // DMBIN number of a tray keyword, 0 if none.
    static int standardBinNumber(const QString& keyword);

private:
    struct Choice;
    Choice defaultChoice(const QueueDefaults& queue) const;
    Choice resolve(const DevMode& stored, const Choice& fallback) const;
    DevMode write(const DevMode& stored, const Choice& choice, const QString& printerName) const;
    void numberPapers();
    void numberBins();
    int findPaper(const QString& key) const;
    int findBin(const QString& key) const;
    int findResolution(const QString& key) const;
    int findDuplex(const QString& key) const;

    Kind m_kind = Kind::None;
    QVector<DriverPaper> m_papers;
    QVector<DriverBin> m_bins;
    QVector<DriverResolution> m_resolutions;
    QVector<DriverDuplex> m_duplex;
    QString m_defaultPaper, m_defaultBin, m_defaultResolution, m_defaultDuplex;
    bool m_color = false;
    bool m_customSizes = false;
    double m_customMin[2] = {0, 0};
    double m_customMax[2] = {0, 0};
    double m_customMargins[4] = {0, 0, 0, 0}; // left, bottom, right, top (points)
    bool m_landscapeMinus90 = false;
};
