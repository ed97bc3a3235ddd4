#pragma once
// The choice a printer dialog edits: a printer of the system's list and its device-mode
// record (paper, tray, orientation). It starts from the system printer's selection and
// touches the system printer only in apply(), so a cancelled dialog changes nothing.

#include "platform/DevMode.h"

#include <QPair>
#include <QString>
#include <QVector>

class PrinterChoice {
public:
    PrinterChoice();

    bool isEmpty() const { return m_printer < 0; }

    // The printers a user may pick (hidden ones left out): list position and name.
    QVector<QPair<int, QString>> printers() const;
    int printerIndex() const { return m_printer; }
    QString printerName() const;
    QString printerInfo() const;
    // Another printer takes over the paper, orientation and tray where its driver has them.
    void setPrinterIndex(int index);
    // Selects by name (any case); false when no visible printer has that name.
    bool setPrinterName(const QString& name);

    // The driver's papers and trays (DMPAPER / DMBIN number and name).
    QVector<QPair<int, QString>> papers() const;
    QVector<QPair<int, QString>> sources() const;
    int paper() const { return m_mode.paperSize(); }
    int source() const { return m_mode.defaultSource(); }
    int orientation() const { return m_mode.orientation(); }
    // False (and nothing changes) when the driver does not offer the value.
    bool setPaper(int dmPaper);
    bool setSource(int dmBin);
    bool setOrientation(int orientation);

    const DevMode& devMode() const { return m_mode; }
    // Makes the choice the system printer's selection and record.
    void apply() const;

private:
    int m_printer = -1;
    DevMode m_mode;
};
