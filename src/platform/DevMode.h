#pragma once
// The device-mode record: the fixed part laid out like the Windows DEVMODEA structure
// (device name in the first 32 bytes, then the same fields at the same offsets), followed
// by a driver-extra part. Records written by other programs keep every byte we do not
// understand.

#include <QByteArray>
#include <QString>

class DevMode {
public:
    // DMPAPER codes used by the program.
    static constexpr int PaperA4 = 9;
    static constexpr int PaperJapanesePostcard = 43;
    static constexpr int OrientationPortrait = 1;
    static constexpr int OrientationLandscape = 2;

    DevMode() = default;
    explicit DevMode(const QByteArray& bytes) : m_bytes(bytes) {}

    const QByteArray& bytes() const { return m_bytes; }
    bool isEmpty() const { return m_bytes.isEmpty(); }

    QString deviceName() const;
    void setDeviceName(const QString& name);
    int orientation() const;
    void setOrientation(int orientation);
    int paperSize() const;
    void setPaperSize(int dmPaper);
    int defaultSource() const;
    void setDefaultSource(int source);

private:
    QByteArray m_bytes;
};
