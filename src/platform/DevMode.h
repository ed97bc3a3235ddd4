#pragma once
// The device-mode record: the fixed part laid out like the Windows DEVMODEA structure
// (device name in the first 32 bytes, then the same fields at the same offsets), followed
// by a driver-extra part. Records written by other programs keep every byte we do not
// understand.
//
// Our own driver-extra part is UTF-8 text: a signature line and "key=value" lines with the
// CUPS settings (printer, media, tray, resolution, duplex). A driver-extra part without
// that signature belongs to another driver; it is carried along untouched.

#include <QByteArray>
#include <QMap>
#include <QString>

// The CUPS side of a record, kept in our driver-extra part. Empty values are not stored.
struct DevModeCupsSettings {
    QString printer;     // full CUPS queue name (the fixed part holds only 31 bytes)
    QString media;       // PPD PageSize keyword or IPP media name
    QString slot;        // PPD InputSlot keyword or IPP media-source
    QString resolution;  // PPD Resolution keyword or "XxYdpi"
    QString duplex;      // PPD Duplex keyword or IPP sides
    QMap<QString, QString> other;  // keys of later versions, kept as they are

    bool operator==(const DevModeCupsSettings& o) const
    {
        return printer == o.printer && media == o.media && slot == o.slot
            && resolution == o.resolution && duplex == o.duplex && other == o.other;
    }
};

class DevMode {
public:
    // Size of the DEVMODEA fixed part and the dmSpecVersion value we write.
    static constexpr int FixedSize = 156;
    static constexpr int SpecVersion = 0x0401;
    static constexpr int DeviceNameSize = 32;
    static constexpr int FormNameSize = 32;

    // dmFields bits.
    static constexpr quint32 DM_ORIENTATION = 0x00000001;
    static constexpr quint32 DM_PAPERSIZE = 0x00000002;
    static constexpr quint32 DM_PAPERLENGTH = 0x00000004;
    static constexpr quint32 DM_PAPERWIDTH = 0x00000008;
    static constexpr quint32 DM_SCALE = 0x00000010;
    static constexpr quint32 DM_COPIES = 0x00000100;
    static constexpr quint32 DM_DEFAULTSOURCE = 0x00000200;
    static constexpr quint32 DM_PRINTQUALITY = 0x00000400;
    static constexpr quint32 DM_COLOR = 0x00000800;
    static constexpr quint32 DM_DUPLEX = 0x00001000;
    static constexpr quint32 DM_YRESOLUTION = 0x00002000;
    static constexpr quint32 DM_TTOPTION = 0x00004000;
    static constexpr quint32 DM_COLLATE = 0x00008000;
    static constexpr quint32 DM_FORMNAME = 0x00010000;

    // DMPAPER codes used by the program; 256 is a user-defined size (dmPaperWidth/Length).
    static constexpr int PaperLetter = 1;
    static constexpr int PaperA4 = 9;
    static constexpr int PaperJapanesePostcard = 43;
    static constexpr int PaperUser = 256;
    static constexpr int OrientationPortrait = 1;
    static constexpr int OrientationLandscape = 2;

    // DMBIN codes.
    static constexpr int BinUpper = 1;
    static constexpr int BinLower = 2;
    static constexpr int BinMiddle = 3;
    static constexpr int BinManual = 4;
    static constexpr int BinEnvelope = 5;
    static constexpr int BinEnvManual = 6;
    static constexpr int BinAuto = 7;
    static constexpr int BinTractor = 8;
    static constexpr int BinLargeCapacity = 11;
    static constexpr int BinCassette = 14;
    static constexpr int BinFormSource = 15;
    static constexpr int BinUser = 256;

    // DMDUP codes.
    static constexpr int DuplexSimplex = 1;
    static constexpr int DuplexVertical = 2;   // long edge in portrait
    static constexpr int DuplexHorizontal = 3; // short edge in portrait

    static constexpr int ColorMonochrome = 1;
    static constexpr int ColorColor = 2;

    DevMode() = default;
    explicit DevMode(const QByteArray& bytes) : m_bytes(bytes) {}

    // A zeroed fixed part with the size and version fields set and no driver-extra part.
    static DevMode blank();

    const QByteArray& bytes() const { return m_bytes; }
    bool isEmpty() const { return m_bytes.isEmpty(); }
    int size() const { return int(m_bytes.size()); }

    // Length of the fixed part as the record states it (dmSize), bounded by the bytes present.
    int fixedPartSize() const;
    // The driver-extra part: dmDriverExtra bytes after the fixed part, bounded by the bytes present.
    QByteArray driverExtra() const;
    // Replaces the driver-extra part and sets dmDriverExtra; the fixed part is padded to dmSize.
    void setDriverExtra(const QByteArray& extra);

    // Device name: code page 932, at most 31 bytes, zero-terminated.
    QString deviceName() const;
    void setDeviceName(const QString& name);
    QString formName() const;
    void setFormName(const QString& name);

    int specVersion() const { return word(32); }
    int driverVersion() const { return word(34); }
    void setDriverVersion(int v) { setWord(34, v); }
    int dmSize() const { return word(36); }
    int dmDriverExtra() const { return word(38); }
    quint32 fields() const;
    void setFields(quint32 fields);

    // Each setter also sets its dmFields bit.
    int orientation() const { return shortAt(44); }
    void setOrientation(int orientation) { setShortField(44, orientation, DM_ORIENTATION); }
    int paperSize() const { return shortAt(46); }
    void setPaperSize(int dmPaper) { setShortField(46, dmPaper, DM_PAPERSIZE); }
    int paperLength() const { return shortAt(48); }   // 0.1 mm
    void setPaperLength(int v) { setShortField(48, v, DM_PAPERLENGTH); }
    int paperWidth() const { return shortAt(50); }    // 0.1 mm
    void setPaperWidth(int v) { setShortField(50, v, DM_PAPERWIDTH); }
    int scale() const { return shortAt(52); }
    void setScale(int v) { setShortField(52, v, DM_SCALE); }
    int copies() const { return shortAt(54); }
    void setCopies(int v) { setShortField(54, v, DM_COPIES); }
    int defaultSource() const { return shortAt(56); }
    void setDefaultSource(int source) { setShortField(56, source, DM_DEFAULTSOURCE); }
    int printQuality() const { return shortAt(58); }  // dpi in x, or a negative DMRES value
    void setPrintQuality(int v) { setShortField(58, v, DM_PRINTQUALITY); }
    int color() const { return shortAt(60); }
    void setColor(int v) { setShortField(60, v, DM_COLOR); }
    int duplex() const { return shortAt(62); }
    void setDuplex(int v) { setShortField(62, v, DM_DUPLEX); }
    int yResolution() const { return shortAt(64); }
    void setYResolution(int v) { setShortField(64, v, DM_YRESOLUTION); }
    int collate() const { return shortAt(68); }
    void setCollate(int v) { setShortField(68, v, DM_COLLATE); }

    bool hasField(quint32 bit) const { return (fields() & bit) != 0; }

    // Our CUPS settings, when the driver-extra part is ours.
    bool hasCupsSettings() const;
    DevModeCupsSettings cupsSettings() const;
    // Writes our driver-extra part (replacing whatever was there).
    void setCupsSettings(const DevModeCupsSettings& settings);
    static QByteArray encodeCupsSettings(const DevModeCupsSettings& settings);

    // Raw little-endian access for fields without a named accessor.
    int word(int offset) const;
    int shortAt(int offset) const;
    void setWord(int offset, int value);

    bool operator==(const DevMode& o) const { return m_bytes == o.m_bytes; }
    bool operator!=(const DevMode& o) const { return m_bytes != o.m_bytes; }

private:
    void ensureFixedPart();
    void setShortField(int offset, int value, quint32 bit);
    QString readName(int offset, int size) const;
    void writeName(int offset, int size, const QString& name);

    QByteArray m_bytes;
};
