#include "support/CupsTestPrinter.h"

#include "platform/SystemPrinter.h"

#include <cups/cups.h>

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

http_t* connect()
{
    http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 3000, nullptr);
    if (http)
        httpSetTimeout(http, 15.0, nullptr, nullptr);
    return http;
}

QString run(const QString& program, const QStringList& args, bool* ok)
{
    QProcess p;
    p.start(program, args);
    *ok = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

QString CupsTestPrinter::name()
{
    const QString env = qEnvironmentVariable("TOVALIN_TEST_PRINTER");
    return env.isEmpty() ? QStringLiteral("TovalinTest") : env;
}

QString CupsTestPrinter::nameWithoutPostcard()
{
    const QString env = qEnvironmentVariable("TOVALIN_TEST_PRINTER_NO_POSTCARD");
    return env.isEmpty() ? QStringLiteral("TovalinTestNoPostcard") : env;
}

bool CupsTestPrinter::required()
{
    return qEnvironmentVariable("TOVALIN_REQUIRE_CUPS") == QLatin1String("1");
}

bool CupsTestPrinter::available(QString* why)
{
    return available(name(), why);
}

bool CupsTestPrinter::available(const QString& printer, QString* why)
{
    http_t* http = connect();
    if (!http) {
        if (why)
            *why = QStringLiteral("no CUPS scheduler at %1:%2").arg(QString::fromUtf8(cupsServer())).arg(ippPort());
        return false;
    }
    cups_dest_t* dest = cupsGetNamedDest(http, printer.toUtf8().constData(), nullptr);
    httpClose(http);
    if (!dest) {
        if (why)
            *why = QStringLiteral("CUPS has no printer %1 (run scripts/cups-test-printer.sh)").arg(printer);
        return false;
    }
    cupsFreeDests(1, dest);
    return true;
}

int CupsTestPrinter::indexInSystemPrinter()
{
    const auto& list = SystemPrinter::instance().printers();
    for (int i = 0; i < list.size(); ++i) {
        if (list[i].name == name())
            return i;
    }
    return -1;
}

bool CupsTestPrinter::selectInSystemPrinter()
{
    const int i = indexInSystemPrinter();
    if (i < 0)
        return false;
    SystemPrinter::instance().setPrinterIndex(i);
    return SystemPrinter::instance().printerName() == name();
}

int CupsTestPrinter::submitFile(const QString& path, const QString& title,
                                const QVector<QPair<QString, QString>>& options, QString* error)
{
    http_t* http = connect();
    if (!http) {
        if (error)
            *error = QStringLiteral("no scheduler");
        return 0;
    }
    int n = 0;
    cups_option_t* opts = nullptr;
    for (const auto& o : options)
        n = cupsAddOption(o.first.toUtf8().constData(), o.second.toUtf8().constData(), n, &opts);
    const int job = cupsPrintFile2(http, name().toUtf8().constData(), QFile::encodeName(path).constData(),
                                   title.toUtf8().constData(), n, opts);
    cupsFreeOptions(n, opts);
    if (job <= 0 && error)
        *error = QString::fromUtf8(cupsLastErrorString());
    httpClose(http);
    return job;
}

bool CupsTestPrinter::waitForJob(int jobId, int timeoutMs, QString* state)
{
    QElapsedTimer timer;
    timer.start();
    QString last = QStringLiteral("not found");
    while (timer.elapsed() < timeoutMs) {
        http_t* http = connect();
        if (http) {
            cups_job_t* jobs = nullptr;
            // Every queue's jobs: a job id is unique in the scheduler, and tests print on other
            // queues too.
            const int count = cupsGetJobs2(http, &jobs, nullptr, 0, CUPS_WHICHJOBS_ALL);
            ipp_jstate_t js = IPP_JSTATE_PENDING;
            bool found = false;
            for (int i = 0; i < count; ++i) {
                if (jobs[i].id == jobId) {
                    js = jobs[i].state;
                    found = true;
                }
            }
            cupsFreeJobs(count, jobs);
            httpClose(http);
            if (found) {
                switch (js) {
                case IPP_JSTATE_COMPLETED:
                    if (state)
                        *state = QStringLiteral("completed");
                    return true;
                case IPP_JSTATE_CANCELED:
                case IPP_JSTATE_ABORTED:
                case IPP_JSTATE_STOPPED:
                    if (state)
                        *state = js == IPP_JSTATE_CANCELED ? QStringLiteral("cancelled")
                            : js == IPP_JSTATE_ABORTED   ? QStringLiteral("aborted")
                                                         : QStringLiteral("stopped");
                    return false;
                default:
                    last = QStringLiteral("state %1").arg(int(js));
                }
            }
        }
        QThread::msleep(100);
    }
    if (state)
        *state = QStringLiteral("timed out (%1)").arg(last);
    return false;
}

QMap<QString, QString> CupsTestPrinter::jobAttributes(int jobId)
{
    QMap<QString, QString> out;
    http_t* http = connect();
    if (!http)
        return out;
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(), "/jobs/%d", jobId);
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "all");
    ipp_t* response = cupsDoRequest(http, request, "/");
    for (ipp_attribute_t* a = response ? ippFirstAttribute(response) : nullptr; a; a = ippNextAttribute(response)) {
        if (!ippGetName(a) || ippGetGroupTag(a) != IPP_TAG_JOB)
            continue;
        char value[2048];
        ippAttributeString(a, value, sizeof value);
        out.insert(QString::fromUtf8(ippGetName(a)), QString::fromUtf8(value));
    }
    ippDelete(response);
    httpClose(http);
    return out;
}

QStringList CupsTestPrinter::outputDirectories()
{
    const QString user = QString::fromUtf8(cupsUser());
    QString home = QDir::homePath();
    if (struct passwd* pw = getpwnam(cupsUser()))
        home = QFile::decodeName(pw->pw_dir);

    // cups-pdf's own defaults, then what its configuration file says.
    QString out = QStringLiteral("/var/spool/cups-pdf/${USER}");
    QString anon = QStringLiteral("/var/spool/cups-pdf/ANONYMOUS");
    QFile conf(QStringLiteral("/etc/cups/cups-pdf.conf"));
    if (conf.open(QIODevice::ReadOnly)) {
        static const QRegularExpression line(QStringLiteral("^\\s*(Out|AnonDirName)\\s+(\\S.*?)\\s*$"));
        for (const QByteArray& raw : conf.readAll().split('\n')) {
            const QRegularExpressionMatch m = line.match(QString::fromUtf8(raw));
            if (!m.hasMatch())
                continue;
            (m.captured(1) == QLatin1String("Out") ? out : anon) = m.captured(2);
        }
    }
    out.replace(QLatin1String("${HOME}"), home).replace(QLatin1String("${USER}"), user);
    return {out, anon};
}

QString CupsTestPrinter::outputFile(int jobId, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    waitForJob(jobId, timeoutMs);
    const QString pattern = QStringLiteral("*-job_%1.pdf").arg(jobId);
    do {
        QString newest;
        QDateTime newestTime;
        for (const QString& dir : outputDirectories()) {
            const QFileInfoList files = QDir(dir).entryInfoList({pattern}, QDir::Files);
            for (const QFileInfo& f : files) {
                if (newest.isEmpty() || f.lastModified() > newestTime) {
                    newest = f.absoluteFilePath();
                    newestTime = f.lastModified();
                }
            }
        }
        if (!newest.isEmpty() && QFileInfo(newest).size() > 0)
            return newest;
        QThread::msleep(100);
    } while (timer.elapsed() < timeoutMs);
    return QString();
}

void CupsTestPrinter::removeOutput(const QString& path)
{
    if (!path.isEmpty() && qEnvironmentVariableIsEmpty("TOVALIN_KEEP_TEST_OUTPUT"))
        QFile::remove(path);
}

CupsTestPrinter::PdfInfo CupsTestPrinter::pdfInfo(const QString& path, int page)
{
    PdfInfo info;
    bool ok = false;
    const QString text = run(QStringLiteral("pdfinfo"),
                             {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"), QString::number(page), path},
                             &ok);
    if (!ok) {
        info.error = QStringLiteral("pdfinfo failed on %1").arg(path);
        return info;
    }
    static const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption);
    static const QRegularExpression size(QStringLiteral("^Page\\s+\\d+\\s+size:\\s+([\\d.]+) x ([\\d.]+) pts"),
                                         QRegularExpression::MultilineOption);
    const QRegularExpressionMatch p = pages.match(text);
    const QRegularExpressionMatch s = size.match(text);
    if (!p.hasMatch() || !s.hasMatch()) {
        info.error = QStringLiteral("unexpected pdfinfo output: %1").arg(text);
        return info;
    }
    info.pages = p.captured(1).toInt();
    info.pageSizePt = QSizeF(s.captured(1).toDouble(), s.captured(2).toDouble());
    info.ok = true;
    return info;
}

QString CupsTestPrinter::pdfText(const QString& path, int firstPage, int lastPage)
{
    QStringList args{QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8")};
    if (firstPage > 0)
        args << QStringLiteral("-f") << QString::number(firstPage);
    if (lastPage > 0)
        args << QStringLiteral("-l") << QString::number(lastPage);
    args << path << QStringLiteral("-");
    bool ok = false;
    const QString text = run(QStringLiteral("pdftotext"), args, &ok);
    return ok ? text : QString();
}

QImage CupsTestPrinter::renderPage(const QString& path, int page, int dpi)
{
    QTemporaryDir dir;
    if (!dir.isValid())
        return QImage();
    const QString base = dir.filePath(QStringLiteral("page"));
    bool ok = false;
    run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-png"), QStringLiteral("-singlefile"), QStringLiteral("-r"), QString::number(dpi),
         QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"), QString::number(page), path, base},
        &ok);
    if (!ok)
        return QImage();
    return QImage(base + QStringLiteral(".png"));
}

ScopedCupsServer::ScopedCupsServer(const QString& server)
{
    cupsSetServer(server.toUtf8().constData());
    SystemPrinter::instance().refresh();
}

ScopedCupsServer::~ScopedCupsServer()
{
    cupsSetServer(nullptr);
    SystemPrinter::instance().refresh();
}

ScopedDefaultPrinter::ScopedDefaultPrinter(const QString& printer)
    : m_previous(qgetenv("LPDEST")), m_had(qEnvironmentVariableIsSet("LPDEST"))
{
    qputenv("LPDEST", printer.toUtf8());
    SystemPrinter::instance().refresh();
}

ScopedDefaultPrinter::~ScopedDefaultPrinter()
{
    if (m_had)
        qputenv("LPDEST", m_previous);
    else
        qunsetenv("LPDEST");
    SystemPrinter::instance().refresh();
}

namespace {

bool lpadmin(const QStringList& args)
{
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(QProcess::nullDevice()); // its warning about PPD drivers
    p.start(QStringLiteral("lpadmin"), args);
    return p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

} // namespace

ScopedCupsQueue::ScopedCupsQueue(const QString& name, const QString& ppd) : m_name(name)
{
    m_ok = lpadmin({ QStringLiteral("-p"), name, QStringLiteral("-v"), QStringLiteral("cups-pdf:/"), QStringLiteral("-P"), ppd,
                     QStringLiteral("-E") });
    SystemPrinter::instance().refresh();
}

ScopedCupsQueue::~ScopedCupsQueue()
{
    if (m_ok)
        lpadmin({ QStringLiteral("-x"), m_name });
    SystemPrinter::instance().refresh();
}
