#include "platform/PrinterChoice.h"

#include "platform/SystemPrinter.h"

PrinterChoice::PrinterChoice()
{
    SystemPrinter& sp = SystemPrinter::instance();
    m_printer = sp.printerIndex();
    m_mode = sp.devMode();
}

QVector<QPair<int, QString>> PrinterChoice::printers() const
{
    QVector<QPair<int, QString>> out;
    const QVector<PrinterEntry>& list = SystemPrinter::instance().printers();
    for (int i = 0; i < list.size(); ++i) {
        if (!list[i].hidden() || i == m_printer)
            out.append({i, list[i].name});
    }
    return out;
}

QString PrinterChoice::printerName() const
{
    return SystemPrinter::instance().printers().value(m_printer).name;
}

QString PrinterChoice::printerInfo() const
{
    return SystemPrinter::instance().printers().value(m_printer).info;
}

void PrinterChoice::setPrinterIndex(int index)
{
    SystemPrinter& sp = SystemPrinter::instance();
    if (index < 0 || index >= sp.printers().size() || index == m_printer)
        return;
    // Completing the current record on the other driver keeps what that driver offers;
    // the record's device name and our driver part are made anew for it.
    DevMode carried = m_mode;
    carried.setDriverExtra(QByteArray());
    m_mode = sp.completeAt(index, carried);
    m_printer = index;
}

bool PrinterChoice::setPrinterName(const QString& name)
{
    for (const auto& p : printers()) {
        if (p.second.compare(name, Qt::CaseInsensitive) == 0) {
            setPrinterIndex(p.first);
            return true;
        }
    }
    return false;
}

QVector<QPair<int, QString>> PrinterChoice::papers() const
{
    QVector<QPair<int, QString>> out;
    for (const auto& p : SystemPrinter::instance().driverAt(m_printer).paperNames()) {
        // A user-defined size is set by programs, not picked from the list.
        if (p.first != DevMode::PaperUser || p.first == paper())
            out.append(p);
    }
    return out;
}

QVector<QPair<int, QString>> PrinterChoice::sources() const
{
    return SystemPrinter::instance().driverAt(m_printer).binNames();
}

bool PrinterChoice::setPaper(int dmPaper)
{
    for (const auto& p : papers()) {
        if (p.first == dmPaper) {
            DevMode m = m_mode;
            m.setPaperSize(dmPaper);
            m_mode = SystemPrinter::instance().completeAt(m_printer, m);
            return m_mode.paperSize() == dmPaper;
        }
    }
    return false;
}

bool PrinterChoice::setSource(int dmBin)
{
    for (const auto& s : sources()) {
        if (s.first == dmBin) {
            DevMode m = m_mode;
            m.setDefaultSource(dmBin);
            m_mode = SystemPrinter::instance().completeAt(m_printer, m);
            return m_mode.defaultSource() == dmBin;
        }
    }
    return false;
}

bool PrinterChoice::setOrientation(int orientation)
{
    if (isEmpty() || (orientation != DevMode::OrientationPortrait && orientation != DevMode::OrientationLandscape))
        return false;
    DevMode m = m_mode;
    m.setOrientation(orientation);
    m_mode = SystemPrinter::instance().completeAt(m_printer, m);
    return true;
}

void PrinterChoice::apply() const
{
    if (!isEmpty())
        SystemPrinter::instance().select(m_printer, m_mode);
}
