#include "platform/SystemPrinter.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <cups/cups.h>
#include <cups/ppd.h>

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <sys/socket.h>

namespace {

// A scheduler that does not answer must not freeze the program: connecting gives up after
// a few seconds and every request after a quiet spell.
constexpr int kConnectTimeoutMs = 3000;
constexpr double kIoTimeoutSeconds = 15.0;

struct HttpCloser {
    void operator()(http_t* http) const
    {
        if (http)
            httpClose(http);
    }
};
using Http = std::unique_ptr<http_t, HttpCloser>;

Http connectScheduler()
{
    http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                kConnectTimeoutMs, nullptr);
    if (http)
        httpSetTimeout(http, kIoTimeoutSeconds, nullptr, nullptr);
    return Http(http);
}

// Options of a queue that are its own defaults for jobs (set with lpadmin -o or lpoptions).
PrinterDriver::QueueDefaults queueDefaults(const cups_dest_t& dest)
{
    PrinterDriver::QueueDefaults out;
    for (int i = 0; i < dest.num_options; ++i) {
        const QString name = QString::fromUtf8(dest.options[i].name);
        if (name.startsWith(QLatin1String("printer-")) && name != QLatin1String("printer-resolution"))
            continue;
        out.insert(name, QString::fromUtf8(dest.options[i].value));
    }
    return out;
}

IppDescription readIpp(http_t* http, const QString& name)
{
    IppDescription desc;
    cups_dest_t* dest = cupsGetNamedDest(http, name.toUtf8().constData(), nullptr);
    if (!dest)
        return desc;
    cups_dinfo_t* info = cupsCopyDestInfo(http, dest);
    if (!info) {
        cupsFreeDests(1, dest);
        return desc;
    }
    const int count = cupsGetDestMediaCount(http, dest, info, 0);
    for (int i = 0; i < count; ++i) {
        cups_size_t size;
        if (!cupsGetDestMediaByIndex(http, dest, info, i, 0, &size))
            continue;
        IppDescription::Media m;
        m.name = QString::fromUtf8(size.media);
        const char* text = cupsLocalizeDestMedia(http, dest, info, 0, &size);
        m.text = text ? QString::fromUtf8(text) : m.name;
        m.width = size.width;
        m.length = size.length;
        m.left = size.left;
        m.right = size.right;
        m.top = size.top;
        m.bottom = size.bottom;
        desc.media.append(m);
    }
    cups_size_t def;
    if (cupsGetDestMediaDefault(http, dest, info, 0, &def))
        desc.defaultMedia = QString::fromUtf8(def.media);
    if (ipp_attribute_t* a = cupsFindDestSupported(http, dest, info, "media-source")) {
        for (int i = 0; i < ippGetCount(a); ++i) {
            const char* kw = ippGetString(a, i, nullptr);
            if (!kw)
                continue;
            const char* text = cupsLocalizeDestValue(http, dest, info, "media-source", kw);
            desc.sources.append({QString::fromUtf8(kw), QString::fromUtf8(text ? text : kw)});
        }
    }
    if (ipp_attribute_t* a = cupsFindDestDefault(http, dest, info, "media-source"))
        desc.defaultSource = QString::fromUtf8(ippGetString(a, 0, nullptr));
    auto resolutionOf = [](ipp_attribute_t* a, int i) {
        ipp_res_t units;
        int y = 0;
        int x = ippGetResolution(a, i, &y, &units);
        if (units == IPP_RES_PER_CM) {
            x = int(x * 2.54 + 0.5);
            y = int(y * 2.54 + 0.5);
        }
        return QPair<int, int>(x, y);
    };
    if (ipp_attribute_t* a = cupsFindDestSupported(http, dest, info, "printer-resolution")) {
        for (int i = 0; i < ippGetCount(a); ++i)
            desc.resolutions.append(resolutionOf(a, i));
    }
    if (ipp_attribute_t* a = cupsFindDestDefault(http, dest, info, "printer-resolution"))
        desc.defaultResolution = resolutionOf(a, 0);
    if (ipp_attribute_t* a = cupsFindDestSupported(http, dest, info, "sides")) {
        for (int i = 0; i < ippGetCount(a); ++i)
            desc.sides.append(QString::fromUtf8(ippGetString(a, i, nullptr)));
    }
    if (ipp_attribute_t* a = cupsFindDestDefault(http, dest, info, "sides"))
        desc.defaultSides = QString::fromUtf8(ippGetString(a, 0, nullptr));
    if (ipp_attribute_t* a = cupsFindDestSupported(http, dest, info, "print-color-mode")) {
        for (int i = 0; i < ippGetCount(a); ++i)
            desc.color = desc.color || qstrcmp(ippGetString(a, i, nullptr), "color") == 0;
    }
    cupsFreeDestInfo(info);
    cupsFreeDests(1, dest);
    return desc;
}

PrinterDriver loadDriver(const QString& name)
{
    Http http = connectScheduler();
    if (!http)
        return PrinterDriver();
    PrinterDriver driver;
    char file[1024] = "";
    time_t modtime = 0;
    if (cupsGetPPD3(http.get(), name.toUtf8().constData(), &modtime, file, sizeof file) == HTTP_STATUS_OK) {
        driver = PrinterDriver::fromPpdFile(QFile::decodeName(file));
        ::unlink(file);
    }
    if (!driver.isValid())
        driver = PrinterDriver::fromIpp(readIpp(http.get(), name));
    if (!driver.isValid())
        driver = PrinterDriver::generic();
    return driver;
}

} // namespace

struct SystemPrinter::Impl {
    bool enumerated = false;
    QVector<PrinterEntry> printers;
    QVector<PrinterDriver::QueueDefaults> defaults;
    int defaultIndex = -1;
    int selected = -1;
    DevMode devMode;
    QHash<QString, PrinterDriver> drivers;
    PrinterDriver none;

    std::unique_ptr<QTemporaryDir> jobDir;
    std::unique_ptr<QPdfWriter> writer;
    std::unique_ptr<QPainter> painter;
    double yScale = 1.0;
    QString jobTitle;
    QString jobPrinter;
    QVector<QPair<QString, QString>> jobOptions;
    int pages = 0;
    int lastJob = 0;
    QString error;

    void enumerate()
    {
        enumerated = true;
        printers.clear();
        defaults.clear();
        defaultIndex = -1;
        Http http = connectScheduler();
        if (!http) {
            error = QStringLiteral("CUPS scheduler not reachable");
            return;
        }
        cups_dest_t* dests = nullptr;
        const int count = cupsGetDests2(http.get(), &dests);
        for (int i = 0; i < count; ++i) {
            const cups_dest_t& dest = dests[i];
            if (dest.instance)
                continue;   // instances are option sets of a queue, not printers of their own
            PrinterEntry e;
            e.name = QString::fromUtf8(dest.name);
            e.info = QString::fromUtf8(cupsGetOption("printer-info", dest.num_options, dest.options));
            const unsigned type = QByteArray(cupsGetOption("printer-type", dest.num_options, dest.options)).toUInt();
            e.attributes |= (type & CUPS_PRINTER_REMOTE) ? PrinterEntry::AttributeNetwork : PrinterEntry::AttributeLocal;
            if (type & CUPS_PRINTER_DISCOVERED)
                e.attributes |= PrinterEntry::AttributeHidden;
            if (qstrcmp(cupsGetOption("printer-is-shared", dest.num_options, dest.options), "true") == 0)
                e.attributes |= PrinterEntry::AttributeShared;
            if (dest.is_default) {
                e.attributes |= PrinterEntry::AttributeDefault;
                defaultIndex = int(printers.size());
            }
            printers.append(e);
            defaults.append(queueDefaults(dest));
        }
        cupsFreeDests(count, dests);
        // Without a default set in CUPS the first visible printer stands in for it.
        for (int i = 0; i < printers.size() && defaultIndex < 0; ++i) {
            if (!printers[i].hidden())
                defaultIndex = i;
        }
        if (defaultIndex < 0 && !printers.isEmpty())
            defaultIndex = 0;
    }

    void ensure()
    {
        if (!enumerated)
            enumerate();
        if (selected < 0 && !printers.isEmpty())
            select(-1);
    }

    const PrinterDriver& driverOf(int index)
    {
        if (index < 0 || index >= printers.size())
            return none;
        const QString& name = printers[index].name;
        auto it = drivers.find(name);
        if (it == drivers.end())
            it = drivers.insert(name, loadDriver(name));
        return it.value();
    }

    void select(int index)
    {
        if (printers.isEmpty())
            return;
        selected = (index >= 0 && index < printers.size()) ? index : defaultIndex;
        devMode = driverOf(selected).defaultDevMode(printers[selected].name, defaults[selected]);
    }

    void endJob()
    {
        if (painter && painter->isActive())
            painter->end();
        painter.reset();
        writer.reset();
        jobDir.reset();
        pages = 0;
    }
};

SystemPrinter& SystemPrinter::instance()
{
    static SystemPrinter printer;
    return printer;
}

SystemPrinter::SystemPrinter() : d(std::make_unique<Impl>()) {}

SystemPrinter::~SystemPrinter()
{
    d->endJob();
}

const QVector<PrinterEntry>& SystemPrinter::printers() const
{
    if (!d->enumerated)
        d->enumerate();
    return d->printers;
}

void SystemPrinter::refresh()
{
    const QString current = d->selected >= 0 ? d->printers.value(d->selected).name : QString();
    const DevMode mode = d->devMode;
    d->drivers.clear();
    d->enumerate();
    d->selected = -1;
    d->devMode = DevMode();
    for (int i = 0; i < d->printers.size() && !current.isEmpty(); ++i) {
        if (d->printers[i].name == current) {
            d->select(i);
            setDevMode(mode);
            return;
        }
    }
}

QString SystemPrinter::defaultPrinterName() const
{
    d->ensure();
    return d->defaultIndex >= 0 ? d->printers[d->defaultIndex].name : QString();
}

int SystemPrinter::defaultPrinterIndex() const
{
    d->ensure();
    return d->defaultIndex;
}

int SystemPrinter::printerIndex() const
{
    d->ensure();
    return d->selected;
}

void SystemPrinter::setPrinterIndex(int index)
{
    if (!d->enumerated)
        d->enumerate();
    d->select(index);
}

QString SystemPrinter::printerName() const
{
    d->ensure();
    return d->selected >= 0 ? d->printers[d->selected].name : QString();
}

DevMode SystemPrinter::devMode() const
{
    d->ensure();
    return d->devMode;
}

void SystemPrinter::setDevMode(const DevMode& mode)
{
    d->ensure();
    if (d->selected < 0)
        return;
    const PrinterDriver& driver = d->driverOf(d->selected);
    d->devMode = driver.complete(mode, d->printers[d->selected].name, d->defaults[d->selected]);
}

DevMode SystemPrinter::defaultDevMode() const
{
    d->ensure();
    if (d->selected < 0)
        return DevMode();
    return d->driverOf(d->selected).defaultDevMode(d->printers[d->selected].name, d->defaults[d->selected]);
}

const PrinterDriver& SystemPrinter::driver() const
{
    d->ensure();
    return d->driverOf(d->selected);
}

DeviceValues SystemPrinter::deviceValues() const
{
    return driver().deviceValues(d->devMode);
}

QVector<QPair<int, QString>> SystemPrinter::paperNames() const
{
    return driver().paperNames();
}

QVector<QPair<int, QString>> SystemPrinter::paperSources() const
{
    return driver().binNames();
}

const PrinterDriver& SystemPrinter::driverAt(int index) const
{
    if (!d->enumerated)
        d->enumerate();
    return d->driverOf(index);
}

DevMode SystemPrinter::defaultDevModeAt(int index) const
{
    if (!d->enumerated)
        d->enumerate();
    if (index < 0 || index >= d->printers.size())
        return DevMode();
    return d->driverOf(index).defaultDevMode(d->printers[index].name, d->defaults[index]);
}

DevMode SystemPrinter::completeAt(int index, const DevMode& mode) const
{
    if (!d->enumerated)
        d->enumerate();
    if (index < 0 || index >= d->printers.size())
        return DevMode();
    return d->driverOf(index).complete(mode, d->printers[index].name, d->defaults[index]);
}

void SystemPrinter::select(int index, const DevMode& mode)
{
    setPrinterIndex(index);
    setDevMode(mode);
}

QVector<QPair<QString, QString>> SystemPrinter::jobOptions() const
{
    return driver().jobOptions(d->devMode);
}

bool SystemPrinter::beginDoc(const QString& title)
{
    if (d->writer) {
        d->error = QStringLiteral("a print job is already running");
        return false;
    }
    d->ensure();
    if (d->selected < 0) {
        d->error = QStringLiteral("no printer");
        return false;
    }
    const PrinterDriver& driver = d->driverOf(d->selected);
    const DeviceValues values = driver.deviceValues(d->devMode);
    const QSizeF sheet = driver.sheetSizePoints(d->devMode);
    if (!driver.isValid() || values.logPixelsX <= 0 || values.logPixelsY <= 0 || sheet.isEmpty()) {
        d->error = QStringLiteral("the printer's paper is unknown");
        return false;
    }
    d->jobDir = std::make_unique<QTemporaryDir>();
    if (!d->jobDir->isValid()) {
        d->error = d->jobDir->errorString();
        d->jobDir.reset();
        return false;
    }
    d->writer = std::make_unique<QPdfWriter>(d->jobDir->filePath(QStringLiteral("job.pdf")));
    d->writer->setCreator(QStringLiteral("Tovalin"));
    d->writer->setTitle(title);
    const QPageSize pageSize(sheet, QPageSize::Point, QString(), QPageSize::ExactMatch);
    d->writer->setPageLayout(QPageLayout(pageSize, QPageLayout::Portrait, QMarginsF()));
    d->writer->setResolution(values.logPixelsX);
    d->yScale = double(values.logPixelsX) / values.logPixelsY;
    d->jobTitle = title;
    d->jobPrinter = d->printers[d->selected].name;
    d->jobOptions = driver.jobOptions(d->devMode);
    d->pages = 1;
    d->error.clear();
    return true;
}

QPainter* SystemPrinter::painter() const
{
    if (!d->writer)
        return nullptr;
    if (!d->painter) {
        auto painter = std::make_unique<QPainter>();
        if (!painter->begin(d->writer.get())) {
            d->error = QStringLiteral("the print file is already being painted");
            return nullptr;
        }
        if (d->yScale != 1.0)
            painter->scale(1.0, d->yScale);
        d->painter = std::move(painter);
    }
    return d->painter.get();
}

QPaintDevice* SystemPrinter::device() const
{
    return d->writer.get();
}

bool SystemPrinter::newPage()
{
    // The PDF takes a new page only while a painter (ours or the caller's) is active on it.
    if (!d->writer || !d->writer->newPage())
        return false;
    ++d->pages;
    return true;
}

bool SystemPrinter::endDoc()
{
    if (!d->writer)
        return false;
    if (d->painter && d->painter->isActive())
        d->painter->end();
    const QString file = d->jobDir->filePath(QStringLiteral("job.pdf"));
    d->painter.reset();
    d->writer.reset();   // closes the PDF

    bool ok = false;
    Http http;
    if (!QFileInfo::exists(file)) {
        d->error = QStringLiteral("nothing was printed");
    } else if (!(http = connectScheduler())) {
        d->error = QStringLiteral("CUPS scheduler not reachable");
    } else {
        int numOptions = 0;
        cups_option_t* options = nullptr;
        for (const auto& o : std::as_const(d->jobOptions))
            numOptions = cupsAddOption(o.first.toUtf8().constData(), o.second.toUtf8().constData(), numOptions, &options);
        const int job = cupsPrintFile2(http.get(), d->jobPrinter.toUtf8().constData(), QFile::encodeName(file).constData(),
                                       d->jobTitle.toUtf8().constData(), numOptions, options);
        cupsFreeOptions(numOptions, options);
        if (job > 0) {
            d->lastJob = job;
            ok = true;
        } else {
            d->error = QString::fromUtf8(cupsLastErrorString());
        }
    }
    d->endJob();
    return ok;
}

void SystemPrinter::abortDoc()
{
    d->endJob();
}

bool SystemPrinter::printing() const
{
    return d->writer != nullptr;
}

int SystemPrinter::pageNumber() const
{
    return d->pages;
}

int SystemPrinter::lastJobId() const
{
    return d->lastJob;
}

QString SystemPrinter::errorString() const
{
    return d->error;
}

#pragma GCC diagnostic pop
