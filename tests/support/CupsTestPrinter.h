#pragma once
// The virtual test printer that scripts/cups-test-printer.sh sets up: a cups-pdf queue
// (default name "TovalinTest", or $TOVALIN_TEST_PRINTER) whose jobs become PDF files; and
// beside it a queue without any postcard paper ("TovalinTestNoPostcard", or
// $TOVALIN_TEST_PRINTER_NO_POSTCARD).
// Tests submit jobs (through SystemPrinter or directly), wait for them, find the PDF that
// cups-pdf wrote and look at it with poppler's pdfinfo, pdftotext and pdftoppm.
//
// Tests that need the printer start with TOVALIN_REQUIRE_TEST_PRINTER(): without the
// printer they fail when TOVALIN_REQUIRE_CUPS=1 (test.sh and land.sh set it) and are
// skipped otherwise.

#include <QImage>
#include <QMap>
#include <QPair>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QVector>

#include <gtest/gtest.h>

#include "platform/PrinterDriver.h"

#include <ostream>

// Lets EXPECT_EQ show device values.
inline void PrintTo(const DeviceValues& v, std::ostream* os)
{
    *os << "{dpi " << v.logPixelsX << "x" << v.logPixelsY << ", sheet " << v.physicalWidth << "x" << v.physicalHeight
        << ", offset " << v.physicalOffsetX << "," << v.physicalOffsetY << ", printable " << v.horzRes << "x"
        << v.vertRes << "}";
}

class CupsTestPrinter {
public:
    static QString name();
    // The queue without postcard paper (A4 by default, Letter, A5, a double postcard).
    static QString nameWithoutPostcard();
    static bool required();
    // True when the scheduler answers and lists the test printer (or the one named); *why
    // says what is missing.
    static bool available(QString* why = nullptr);
    static bool available(const QString& printer, QString* why);

    // The test printer's position in SystemPrinter's list, -1 when absent.
    static int indexInSystemPrinter();
    // Selects the test printer in SystemPrinter with its driver's defaults.
    static bool selectInSystemPrinter();

    // Submits a file to the test printer as lp would; returns the job id or 0.
    static int submitFile(const QString& path, const QString& title,
                          const QVector<QPair<QString, QString>>& options = {}, QString* error = nullptr);
    // Waits until the job is completed. False when it ends otherwise (cancelled, aborted,
    // stopped) or the time runs out; *state tells which.
    static bool waitForJob(int jobId, int timeoutMs = 60000, QString* state = nullptr);
    // The job's attributes as the scheduler keeps them (options given with the job among
    // them), each as text.
    static QMap<QString, QString> jobAttributes(int jobId);
    // Where cups-pdf puts the jobs of the current user, most likely first.
    static QStringList outputDirectories();
    // The PDF cups-pdf wrote for the job (waits for the job first); empty when none appears.
    static QString outputFile(int jobId, int timeoutMs = 60000);
    // Removes a job's output file (tests tidy up after themselves).
    static void removeOutput(const QString& path);

    struct PdfInfo {
        bool ok = false;
        int pages = 0;
        QSizeF pageSizePt;   // of the page asked for
        QString error;
    };
    static PdfInfo pdfInfo(const QString& path, int page = 1);
    // Text of the pages (all when 0), as pdftotext -layout gives it.
    static QString pdfText(const QString& path, int firstPage = 0, int lastPage = 0);
    // One page rendered at dpi (pdftoppm); a null image on failure.
    static QImage renderPage(const QString& path, int page, int dpi);
};

#define TOVALIN_REQUIRE_TEST_PRINTER() TOVALIN_REQUIRE_PRINTER(CupsTestPrinter::name())
#define TOVALIN_REQUIRE_PRINTER(printer)                                                         \
    do {                                                                                         \
        QString why_;                                                                            \
        if (!CupsTestPrinter::available(printer, &why_)) {                                       \
            if (CupsTestPrinter::required())                                                     \
                FAIL() << "test printer required (TOVALIN_REQUIRE_CUPS=1): " << why_.toStdString(); \
            else                                                                                 \
                GTEST_SKIP() << "no test printer: " << why_.toStdString();                       \
        }                                                                                        \
    } while (0)

// Makes a printer the user's default printer (as LPDEST does) for the life of the object,
// and takes SystemPrinter's printer list again on entry and on exit.
class ScopedDefaultPrinter {
public:
    explicit ScopedDefaultPrinter(const QString& printer);
    ~ScopedDefaultPrinter();
    ScopedDefaultPrinter(const ScopedDefaultPrinter&) = delete;
    ScopedDefaultPrinter& operator=(const ScopedDefaultPrinter&) = delete;

private:
    QByteArray m_previous;
    bool m_had = false;
};

// Points libcups at another scheduler address for the life of the object (for example a
// closed port, to see the program without any printer) and takes SystemPrinter's printer
// list again on entry and on exit.
class ScopedCupsServer {
public:
    explicit ScopedCupsServer(const QString& server);
    ~ScopedCupsServer();
    ScopedCupsServer(const ScopedCupsServer&) = delete;
    ScopedCupsServer& operator=(const ScopedCupsServer&) = delete;
};

// A further cups-pdf queue for the life of the object (adding one needs the right to
// administer CUPS: ok() says whether it was added), with the given name and PPD file; takes
// SystemPrinter's printer list again on entry and on exit.
class ScopedCupsQueue {
public:
    ScopedCupsQueue(const QString& name, const QString& ppd);
    ~ScopedCupsQueue();
    ScopedCupsQueue(const ScopedCupsQueue&) = delete;
    ScopedCupsQueue& operator=(const ScopedCupsQueue&) = delete;
    bool ok() const { return m_ok; }
    QString name() const { return m_name; }

private:
    QString m_name;
    bool m_ok = false;
};
