#pragma once
// Remembers which printer a print form uses and with which device settings, makes them
// the system printer's current ones, and exposes the device values the preview engine
// lays pages out with. Stored as a "TPF0" component stream in the form's .plv file.

#include "platform/DevMode.h"

#include <QByteArray>
#include <QObject>
#include <QString>

class QIODevice;

class TplSetPrinter : public QObject {
    Q_OBJECT
public:
    explicit TplSetPrinter(const QString& componentName, QObject* parent = nullptr);
    ~TplSetPrinter() override;

    // Reading gives the resolved printer name; writing stores the text and selects the printer.
    QString PrinterName() const;
    void setPrinterName(const QString& name);

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

    // Component stream. The designer position Left is written when not 0.
    int designLeft() const;
    void setDesignLeft(int left);
    bool writeComponent(QIODevice* out, bool endOfComponentList = false) const;
    // A truncated, oversized or garbage stream is rejected and leaves the component as it was.
    bool readComponent(QIODevice* in);
    bool saveToFile(const QString& path) const;
    bool loadFromFile(const QString& path);

    // True when the name contains "Acrobat", "PDFWriter" or "Distiller" (any case).
    static bool isPdfPrinterName(const QString& name);

private:
    struct Impl;
    Impl* d;
};
