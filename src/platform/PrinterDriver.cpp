#include "platform/PrinterDriver.h"

// The PPD functions are marked deprecated in libcups 2.x but remain the way to read a
// queue's PPD file, which is what most local drivers still ship.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <cups/ppd.h>

#include <QFile>
#include <QRegularExpression>
#include <cmath>

namespace {

struct StandardPaper {
    int code;
    int width;  // 0.1 mm
    int height;
};

// Windows DMPAPER numbers of the sheet sizes a Japanese household or office meets.
// Rotated entries are the same sheets fed landscape.
const StandardPaper kStandardPapers[] = {
    {43, 1000, 1480},  // Japanese postcard
    {9, 2100, 2970},   // A4
    {11, 1480, 2100},  // A5
    {70, 1050, 1480},  // A6
    {8, 2970, 4200},   // A3
    {66, 4200, 5940},  // A2
    {12, 2570, 3640},  // B4 (JIS)
    {13, 1820, 2570},  // B5 (JIS)
    {88, 1280, 1820},  // B6 (JIS)
    {42, 2500, 3530},  // B4 (ISO)
    {1, 2159, 2794},   // Letter
    {5, 2159, 3556},   // Legal
    {3, 2794, 4318},   // Tabloid
    {6, 1397, 2159},   // Statement
    {7, 1842, 2667},   // Executive
    {14, 2159, 3302},  // Folio
    {20, 1048, 2413},  // Envelope #10
    {27, 1100, 2200},  // Envelope DL
    {28, 1620, 2290},  // Envelope C5
    {30, 2290, 3240},  // Envelope C4
    {31, 1140, 1620},  // Envelope C6
    {34, 1760, 2500},  // Envelope B5
    {37, 984, 1905},   // Envelope Monarch
    {71, 2400, 3320},  // Kaku 2
    {72, 2160, 2770},  // Kaku 3
    {73, 1200, 2350},  // Chou 3
    {74, 900, 2050},   // Chou 4
    {91, 1050, 2350},  // You 4
    {69, 2000, 1480},  // double Japanese postcard
    {81, 1480, 1000},  // Japanese postcard rotated
    {77, 2970, 2100},  // A4 rotated
    {78, 2100, 1480},  // A5 rotated
    {83, 1480, 1050},  // A6 rotated
    {76, 4200, 2970},  // A3 rotated
    {79, 3640, 2570},  // B4 (JIS) rotated
    {80, 2570, 1820},  // B5 (JIS) rotated
    {89, 1820, 1280},  // B6 (JIS) rotated
    {75, 2794, 2159},  // Letter rotated
    {4, 4318, 2794},   // Ledger
    {82, 1480, 2000},  // double Japanese postcard rotated
    {84, 3320, 2400},  // Kaku 2 rotated
    {85, 2770, 2160},  // Kaku 3 rotated
    {86, 2350, 1200},  // Chou 3 rotated
    {87, 2050, 900},   // Chou 4 rotated
    {92, 2350, 1050},  // You 4 rotated
};

// Driver-specific paper numbers start above DMPAPER_USER, as Windows drivers number
// their own forms.
constexpr int kFirstDriverPaper = DevMode::PaperUser + 1;

const QString kUserSizeName = QStringLiteral("ユーザー定義サイズ");

constexpr quint32 kOurFields = DevMode::DM_ORIENTATION | DevMode::DM_PAPERSIZE | DevMode::DM_SCALE
    | DevMode::DM_COPIES | DevMode::DM_DEFAULTSOURCE | DevMode::DM_PRINTQUALITY | DevMode::DM_COLOR
    | DevMode::DM_DUPLEX | DevMode::DM_YRESOLUTION;

double tenthMmToPt(int v)
{
    return v * 72.0 / 254.0;
}

int ptToTenthMm(double pt)
{
    return int(std::lround(pt * 254.0 / 72.0));
}

int px(double points, int dpi)
{
    return int(std::lround(points * dpi / 72.0));
}

// "600dpi", "600x300dpi", "240dpcm".
bool parseResolution(const QString& text, int* x, int* y)
{
    static const QRegularExpression re(QStringLiteral("^(\\d+)(?:x(\\d+))?(dpi|dpcm)$"),
                                       QRegularExpression::CaseInsensitiveOption);
    QRegularExpressionMatch m = re.match(text.trimmed());
    if (!m.hasMatch())
        return false;
    double fx = m.captured(1).toDouble();
    double fy = m.captured(2).isEmpty() ? fx : m.captured(2).toDouble();
    if (m.captured(3).compare(QLatin1String("dpcm"), Qt::CaseInsensitive) == 0) {
        fx *= 2.54;
        fy *= 2.54;
    }
    *x = int(std::lround(fx));
    *y = int(std::lround(fy));
    return *x > 0 && *y > 0;
}

int dmDuplexOf(const QString& key)
{
    QString k = key.toLower();
    if (k == QLatin1String("duplexnotumble") || k == QLatin1String("two-sided-long-edge"))
        return DevMode::DuplexVertical;
    if (k == QLatin1String("duplextumble") || k == QLatin1String("two-sided-short-edge"))
        return DevMode::DuplexHorizontal;
    return DevMode::DuplexSimplex;
}

QString customKey(int widthTenthMm, int lengthTenthMm)
{
    return QStringLiteral("Custom.%1x%2mm").arg(QString::number(widthTenthMm / 10.0), QString::number(lengthTenthMm / 10.0));
}

} // namespace

struct PrinterDriver::Choice {
    int paper = -1;       // index into m_papers; -1 with customWidth > 0 for a user-defined size
    int customWidth = 0;  // 0.1 mm
    int customLength = 0;
    int orientation = DevMode::OrientationPortrait;
    int bin = -1;
    int resolution = -1;
    int duplex = -1;
    int copies = 1;
    int scale = 100;
    int color = DevMode::ColorMonochrome;
};

int PrinterDriver::standardPaperNumber(int widthTenthMm, int heightTenthMm)
{
    for (const StandardPaper& p : kStandardPapers) {
        if (std::abs(p.width - widthTenthMm) <= 10 && std::abs(p.height - heightTenthMm) <= 10)
            return p.code;
    }
    return 0;
}

int PrinterDriver::standardBinNumber(const QString& keyword)
{
    static const QMap<QString, int> bins = {
        {QStringLiteral("upper"), DevMode::BinUpper},
        {QStringLiteral("top"), DevMode::BinUpper},
        {QStringLiteral("onlyone"), DevMode::BinUpper},
        {QStringLiteral("lower"), DevMode::BinLower},
        {QStringLiteral("bottom"), DevMode::BinLower},
        {QStringLiteral("middle"), DevMode::BinMiddle},
        {QStringLiteral("manual"), DevMode::BinManual},
        {QStringLiteral("manualfeed"), DevMode::BinManual},
        {QStringLiteral("envelope"), DevMode::BinEnvelope},
        {QStringLiteral("envelopefeed"), DevMode::BinEnvelope},
        {QStringLiteral("envmanual"), DevMode::BinEnvManual},
        {QStringLiteral("manualenvelope"), DevMode::BinEnvManual},
        {QStringLiteral("auto"), DevMode::BinAuto},
        {QStringLiteral("autoselect"), DevMode::BinAuto},
        {QStringLiteral("tractor"), DevMode::BinTractor},
        {QStringLiteral("largecapacity"), DevMode::BinLargeCapacity},
        {QStringLiteral("large-capacity"), DevMode::BinLargeCapacity},
        {QStringLiteral("cassette"), DevMode::BinCassette},
    };
    return bins.value(keyword.toLower(), 0);
}

void PrinterDriver::numberPapers()
{
    QVector<int> used;
    int next = kFirstDriverPaper;
    for (DriverPaper& p : m_papers) {
        int code = standardPaperNumber(ptToTenthMm(p.widthPt), ptToTenthMm(p.heightPt));
        // One number per paper, as a driver's list has: a second sheet of a standard size
        // (a borderless variant, say) gets a driver number of its own.
        if (code == 0 || used.contains(code))
            code = next++;
        p.dmPaper = code;
        used.append(code);
    }
}

void PrinterDriver::numberBins()
{
    QVector<int> used;
    int next = DevMode::BinUser;
    for (DriverBin& b : m_bins) {
        int code = standardBinNumber(b.key);
        if (code == 0 || used.contains(code))
            code = next++;
        b.dmBin = code;
        used.append(code);
    }
}

PrinterDriver PrinterDriver::fromPpdFile(const QString& path, QString* error)
{
    PrinterDriver d;
    ppd_file_t* ppd = ppdOpenFile(QFile::encodeName(path).constData());
    if (!ppd) {
        int line = 0;
        ppd_status_t status = ppdLastError(&line);
        if (error)
            *error = QStringLiteral("%1 (line %2)").arg(QString::fromUtf8(ppdErrorString(status))).arg(line);
        return d;
    }
    ppdLocalize(ppd);
    ppdMarkDefaults(ppd);

    d.m_kind = Kind::Ppd;
    d.m_color = ppd->color_device != 0;
    d.m_landscapeMinus90 = ppd->landscape < 0;

    auto addPaper = [&d](ppd_size_t* size, const QString& text) {
        DriverPaper p;
        p.key = QString::fromUtf8(size->name);
        p.name = text.isEmpty() ? p.key : text;
        p.widthPt = size->width;
        p.heightPt = size->length;
        p.left = size->left;
        p.bottom = size->bottom;
        p.right = size->right;
        p.top = size->top;
        if (p.widthPt > 0 && p.heightPt > 0)
            d.m_papers.append(p);
    };
    if (ppd_option_t* option = ppdFindOption(ppd, "PageSize")) {
        for (int i = 0; i < option->num_choices; ++i) {
            ppd_choice_t& c = option->choices[i];
            if (qstrcmp(c.choice, "Custom") == 0)
                continue;
            if (ppd_size_t* size = ppdPageSize(ppd, c.choice))
                addPaper(size, QString::fromUtf8(c.text));
        }
        d.m_defaultPaper = QString::fromUtf8(option->defchoice);
    } else {
        for (int i = 0; i < ppd->num_sizes; ++i) {
            if (qstrcmp(ppd->sizes[i].name, "Custom") != 0)
                addPaper(&ppd->sizes[i], QString());
        }
    }
    if (ppd->variable_sizes) {
        d.m_customSizes = true;
        d.m_customMin[0] = ppd->custom_min[0];
        d.m_customMin[1] = ppd->custom_min[1];
        d.m_customMax[0] = ppd->custom_max[0];
        d.m_customMax[1] = ppd->custom_max[1];
        for (int i = 0; i < 4; ++i)
            d.m_customMargins[i] = ppd->custom_margins[i];
    }

    if (ppd_option_t* option = ppdFindOption(ppd, "InputSlot")) {
        for (int i = 0; i < option->num_choices; ++i) {
            DriverBin b;
            b.key = QString::fromUtf8(option->choices[i].choice);
            b.name = QString::fromUtf8(option->choices[i].text);
            if (b.name.isEmpty())
                b.name = b.key;
            d.m_bins.append(b);
        }
        d.m_defaultBin = QString::fromUtf8(option->defchoice);
    }

    if (ppd_option_t* option = ppdFindOption(ppd, "Resolution")) {
        for (int i = 0; i < option->num_choices; ++i) {
            DriverResolution r;
            r.key = QString::fromUtf8(option->choices[i].choice);
            if (parseResolution(r.key, &r.x, &r.y))
                d.m_resolutions.append(r);
        }
        d.m_defaultResolution = QString::fromUtf8(option->defchoice);
    }
    if (d.m_resolutions.isEmpty()) {
        // A fixed resolution: nothing to choose, so the key stays empty and no option is sent.
        DriverResolution r;
        ppd_attr_t* attr = ppdFindAttr(ppd, "DefaultResolution", nullptr);
        if (!attr || !parseResolution(QString::fromUtf8(attr->value), &r.x, &r.y))
            r.x = r.y = 300;
        d.m_resolutions.append(r);
        d.m_defaultResolution.clear();
    }

    if (ppd_option_t* option = ppdFindOption(ppd, "Duplex")) {
        for (int i = 0; i < option->num_choices; ++i) {
            DriverDuplex x;
            x.key = QString::fromUtf8(option->choices[i].choice);
            x.name = QString::fromUtf8(option->choices[i].text);
            x.dmDuplex = dmDuplexOf(x.key);
            d.m_duplex.append(x);
        }
        d.m_defaultDuplex = QString::fromUtf8(option->defchoice);
    }
    ppdClose(ppd);

    if (d.m_papers.isEmpty()) {
        if (error)
            *error = QStringLiteral("no paper sizes");
        d.m_kind = Kind::None;
        return d;
    }
    d.numberPapers();
    d.numberBins();
    return d;
}

PrinterDriver PrinterDriver::fromIpp(const IppDescription& desc)
{
    PrinterDriver d;
    d.m_kind = Kind::Ipp;
    d.m_color = desc.color;
    for (const IppDescription::Media& m : desc.media) {
        if (m.width <= 0 || m.length <= 0)
            continue;
        bool seen = false;
        for (const DriverPaper& p : std::as_const(d.m_papers))
            seen = seen || p.key == m.name;
        if (seen)
            continue;   // the same size listed again with other margins: the first one counts
        DriverPaper p;
        p.key = m.name;
        p.name = m.text.isEmpty() ? m.name : m.text;
        p.widthPt = m.width * 72.0 / 2540.0;
        p.heightPt = m.length * 72.0 / 2540.0;
        p.left = m.left * 72.0 / 2540.0;
        p.bottom = m.bottom * 72.0 / 2540.0;
        p.right = p.widthPt - m.right * 72.0 / 2540.0;
        p.top = p.heightPt - m.top * 72.0 / 2540.0;
        d.m_papers.append(p);
    }
    for (const auto& s : desc.sources)
        d.m_bins.append(DriverBin{s.first, s.second.isEmpty() ? s.first : s.second, 0});
    for (const auto& r : desc.resolutions) {
        if (r.first > 0 && r.second > 0)
            d.m_resolutions.append(DriverResolution{QStringLiteral("%1x%2dpi").arg(r.first).arg(r.second), r.first, r.second});
    }
    if (d.m_resolutions.isEmpty())
        d.m_resolutions.append(DriverResolution{QString(), 300, 300});
    if (desc.defaultResolution.first > 0)
        d.m_defaultResolution = QStringLiteral("%1x%2dpi").arg(desc.defaultResolution.first).arg(desc.defaultResolution.second);
    if (desc.sides.size() > 1) {
        for (const QString& s : desc.sides)
            d.m_duplex.append(DriverDuplex{s, s, dmDuplexOf(s)});
    }
    d.m_defaultPaper = desc.defaultMedia;
    d.m_defaultBin = desc.defaultSource;
    d.m_defaultDuplex = desc.defaultSides;
    if (d.m_papers.isEmpty()) {
        d.m_kind = Kind::None;
        return d;
    }
    d.numberPapers();
    d.numberBins();
    return d;
}

PrinterDriver PrinterDriver::generic()
{
    PrinterDriver d;
    d.m_kind = Kind::Generic;
    auto add = [&d](const QString& key, const QString& name, int w, int h) {
        DriverPaper p;
        p.key = key;
        p.name = name;
        p.widthPt = tenthMmToPt(w);
        p.heightPt = tenthMmToPt(h);
        p.right = p.widthPt;
        p.top = p.heightPt;
        d.m_papers.append(p);
    };
    add(QStringLiteral("iso_a4_210x297mm"), QStringLiteral("A4"), 2100, 2970);
    add(QStringLiteral("jpn_hagaki_100x148mm"), QStringLiteral("はがき"), 1000, 1480);
    add(QStringLiteral("na_letter_8.5x11in"), QStringLiteral("Letter"), 2159, 2794);
    d.m_defaultPaper = d.m_papers.first().key;
    d.m_resolutions.append(DriverResolution{QString(), 300, 300});
    d.numberPapers();
    return d;
}

QVector<QPair<int, QString>> PrinterDriver::paperNames() const
{
    QVector<QPair<int, QString>> out;
    for (const DriverPaper& p : m_papers)
        out.append({p.dmPaper, p.name});
    if (m_customSizes)
        out.append({DevMode::PaperUser, kUserSizeName});
    return out;
}

QVector<QPair<int, QString>> PrinterDriver::binNames() const
{
    QVector<QPair<int, QString>> out;
    for (const DriverBin& b : m_bins)
        out.append({b.dmBin, b.name});
    return out;
}

int PrinterDriver::findPaper(const QString& key) const
{
    if (key.isEmpty())
        return -1;
    for (int i = 0; i < m_papers.size(); ++i) {
        if (m_papers[i].key == key)
            return i;
    }
    for (int i = 0; i < m_papers.size(); ++i) {
        if (m_papers[i].key.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int PrinterDriver::findBin(const QString& key) const
{
    for (int i = 0; i < m_bins.size() && !key.isEmpty(); ++i) {
        if (m_bins[i].key.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int PrinterDriver::findResolution(const QString& key) const
{
    if (key.isEmpty())
        return -1;
    for (int i = 0; i < m_resolutions.size(); ++i) {
        if (m_resolutions[i].key.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    int x = 0, y = 0;
    if (parseResolution(key, &x, &y)) {
        for (int i = 0; i < m_resolutions.size(); ++i) {
            if (m_resolutions[i].x == x && m_resolutions[i].y == y)
                return i;
        }
    }
    return -1;
}

int PrinterDriver::findDuplex(const QString& key) const
{
    for (int i = 0; i < m_duplex.size() && !key.isEmpty(); ++i) {
        if (m_duplex[i].key.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

PrinterDriver::Choice PrinterDriver::defaultChoice(const QueueDefaults& queue) const
{
    Choice c;
    c.color = m_color ? DevMode::ColorColor : DevMode::ColorMonochrome;

    // "media" may list a size and a tray together ("A4,Lower").
    QStringList mediaWords;
    for (const QString& name : {QStringLiteral("PageSize"), QStringLiteral("media")})
        mediaWords += queue.value(name).split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString& w : std::as_const(mediaWords)) {
        if (c.paper < 0)
            c.paper = findPaper(w.trimmed());
        if (c.bin < 0)
            c.bin = findBin(w.trimmed());
    }
    if (c.paper < 0)
        c.paper = findPaper(m_defaultPaper);
    if (c.paper < 0 && !m_papers.isEmpty())
        c.paper = 0;

    if (c.bin < 0)
        c.bin = findBin(queue.value(QStringLiteral("InputSlot")));
    if (c.bin < 0)
        c.bin = findBin(queue.value(QStringLiteral("media-source")));
    if (c.bin < 0)
        c.bin = findBin(m_defaultBin);
    if (c.bin < 0 && !m_bins.isEmpty())
        c.bin = 0;

    c.resolution = findResolution(queue.value(QStringLiteral("Resolution")));
    if (c.resolution < 0)
        c.resolution = findResolution(queue.value(QStringLiteral("printer-resolution")));
    if (c.resolution < 0)
        c.resolution = findResolution(m_defaultResolution);
    if (c.resolution < 0 && !m_resolutions.isEmpty())
        c.resolution = 0;

    c.duplex = findDuplex(queue.value(QStringLiteral("Duplex")));
    if (c.duplex < 0)
        c.duplex = findDuplex(queue.value(QStringLiteral("sides")));
    if (c.duplex < 0)
        c.duplex = findDuplex(m_defaultDuplex);
    if (c.duplex < 0) {
        for (int i = 0; i < m_duplex.size() && c.duplex < 0; ++i) {
            if (m_duplex[i].dmDuplex == DevMode::DuplexSimplex)
                c.duplex = i;
        }
    }

    QString orientation = queue.value(QStringLiteral("orientation-requested"));
    if (orientation == QLatin1String("4") || orientation == QLatin1String("5") || queue.contains(QStringLiteral("landscape")))
        c.orientation = DevMode::OrientationLandscape;
    return c;
}

PrinterDriver::Choice PrinterDriver::resolve(const DevMode& stored, const Choice& fallback) const
{
    Choice c = fallback;
    if (stored.isEmpty())
        return c;
    const quint32 f = stored.size() >= 44 ? stored.fields() : 0;
    const DevModeCupsSettings ours = stored.cupsSettings();

    // Paper: the number decides. Our media keyword finds the paper again when its number
    // is gone (the driver's own numbers follow the order of its list, which may change).
    if (f & DevMode::DM_PAPERSIZE) {
        const int code = stored.paperSize();
        const int byKey = ours.media.startsWith(QLatin1String("Custom.")) ? -1 : findPaper(ours.media);
        int byCode = -1;
        for (int i = 0; i < m_papers.size() && byCode < 0; ++i) {
            if (m_papers[i].dmPaper == code)
                byCode = i;
        }
        const bool customWanted = byCode < 0 && (f & DevMode::DM_PAPERWIDTH) && (f & DevMode::DM_PAPERLENGTH)
            && stored.paperWidth() > 0 && stored.paperLength() > 0;
        bool decided = false;
        if (byCode >= 0) {
            c.paper = byCode;
            decided = true;
        } else if (customWanted && m_customSizes) {
            const double w = tenthMmToPt(stored.paperWidth());
            const double l = tenthMmToPt(stored.paperLength());
            if (w >= m_customMin[0] - 0.5 && l >= m_customMin[1] - 0.5 && w <= m_customMax[0] + 0.5
                && l <= m_customMax[1] + 0.5) {
                c.paper = -1;
                c.customWidth = stored.paperWidth();
                c.customLength = stored.paperLength();
                decided = true;
            }
        }
        if (!decided && byKey >= 0 && code >= kFirstDriverPaper) {
            c.paper = byKey;
            decided = true;
        }
        if (!decided && (f & DevMode::DM_FORMNAME)) {
            // A form number this driver does not have: its form name may still be one of ours.
            const QString form = stored.formName();
            for (int i = 0; i < m_papers.size() && !form.isEmpty(); ++i) {
                if (m_papers[i].name.compare(form, Qt::CaseInsensitive) == 0
                    || m_papers[i].key.compare(form, Qt::CaseInsensitive) == 0) {
                    c.paper = i;
                    break;
                }
            }
        }
    }

    if ((f & DevMode::DM_ORIENTATION)
        && (stored.orientation() == DevMode::OrientationPortrait || stored.orientation() == DevMode::OrientationLandscape))
        c.orientation = stored.orientation();

    if ((f & DevMode::DM_DEFAULTSOURCE) && !m_bins.isEmpty()) {
        const int code = stored.defaultSource();
        const int byKey = findBin(ours.slot);
        int byCode = -1;
        for (int i = 0; i < m_bins.size() && byCode < 0; ++i) {
            if (m_bins[i].dmBin == code)
                byCode = i;
        }
        if (byCode >= 0)
            c.bin = byCode;
        else if (byKey >= 0 && code >= DevMode::BinUser)
            c.bin = byKey;
    }

    if ((f & DevMode::DM_PRINTQUALITY) && !m_resolutions.isEmpty()) {
        const int x = stored.printQuality();
        const int y = (f & DevMode::DM_YRESOLUTION) && stored.yResolution() > 0 ? stored.yResolution() : x;
        int found = -1;
        int byKey = findResolution(ours.resolution);
        if (byKey >= 0 && m_resolutions[byKey].x == x && m_resolutions[byKey].y == y)
            found = byKey;
        for (int i = 0; i < m_resolutions.size() && found < 0 && x > 0; ++i) {
            if (m_resolutions[i].x == x && m_resolutions[i].y == y)
                found = i;
        }
        for (int i = 0; i < m_resolutions.size() && found < 0 && x > 0; ++i) {
            if (m_resolutions[i].x == x)
                found = i;
        }
        if (found < 0 && x < 0 && x >= -4) {
            // DMRES_DRAFT (-1) .. DMRES_HIGH (-4): lowest to highest resolution.
            int lo = 0, hi = 0;
            for (int i = 1; i < m_resolutions.size(); ++i) {
                if (m_resolutions[i].x * m_resolutions[i].y < m_resolutions[lo].x * m_resolutions[lo].y)
                    lo = i;
                if (m_resolutions[i].x * m_resolutions[i].y > m_resolutions[hi].x * m_resolutions[hi].y)
                    hi = i;
            }
            found = x <= -3 ? hi : lo;
        }
        if (found >= 0)
            c.resolution = found;
    }

    if ((f & DevMode::DM_DUPLEX) && !m_duplex.isEmpty()) {
        int byKey = findDuplex(ours.duplex);
        if (byKey >= 0 && m_duplex[byKey].dmDuplex == stored.duplex()) {
            c.duplex = byKey;
        } else {
            for (int i = 0; i < m_duplex.size(); ++i) {
                if (m_duplex[i].dmDuplex == stored.duplex()) {
                    c.duplex = i;
                    break;
                }
            }
        }
    }

    if ((f & DevMode::DM_COPIES) && stored.copies() > 0)
        c.copies = qMin(stored.copies(), 999);
    if ((f & DevMode::DM_SCALE) && stored.scale() > 0)
        c.scale = stored.scale();
    if ((f & DevMode::DM_COLOR) && (stored.color() == DevMode::ColorMonochrome || stored.color() == DevMode::ColorColor))
        c.color = stored.color();
    return c;
}

DevMode PrinterDriver::write(const DevMode& stored, const Choice& c, const QString& printerName) const
{
    // The stored fixed part is copied over a blank one (as many bytes as both have), so
    // fields we do not interpret survive; then every field we do interpret is set.
    QByteArray raw = DevMode::blank().bytes();
    const int n = stored.isEmpty() ? 0 : qMin(stored.fixedPartSize(), DevMode::FixedSize);
    raw.replace(0, n, stored.bytes().left(n));
    DevMode out(raw);
    const quint32 storedFields = n >= 44 ? stored.fields() : 0;
    if (out.specVersion() == 0)
        out.setWord(32, DevMode::SpecVersion);
    out.setWord(36, DevMode::FixedSize);
    out.setWord(38, 0);

    quint32 fields = storedFields & ~kOurFields;
    const bool custom = c.paper < 0 && c.customWidth > 0;
    if (custom)
        fields |= DevMode::DM_PAPERWIDTH | DevMode::DM_PAPERLENGTH;
    out.setFields(fields);

    out.setDeviceName(printerName);
    out.setOrientation(c.orientation);
    if (custom) {
        out.setPaperSize(DevMode::PaperUser);
        out.setPaperWidth(c.customWidth);
        out.setPaperLength(c.customLength);
    } else if (c.paper >= 0) {
        out.setPaperSize(m_papers[c.paper].dmPaper);
        if (storedFields & DevMode::DM_FORMNAME)
            out.setFormName(m_papers[c.paper].name);
    }
    out.setScale(c.scale);
    out.setCopies(c.copies);
    out.setDefaultSource(c.bin >= 0 ? m_bins[c.bin].dmBin : DevMode::BinAuto);
    const DriverResolution res = c.resolution >= 0 ? m_resolutions[c.resolution] : DriverResolution{QString(), 300, 300};
    out.setPrintQuality(res.x);
    out.setYResolution(res.y);
    out.setColor(c.color);
    out.setDuplex(c.duplex >= 0 ? m_duplex[c.duplex].dmDuplex : DevMode::DuplexSimplex);

    const QByteArray storedExtra = stored.driverExtra();
    if (!storedExtra.isEmpty() && !stored.hasCupsSettings()) {
        // Another driver's private part: we cannot read it, so it goes back as it came.
        out.setDriverExtra(storedExtra);
    } else {
        DevModeCupsSettings s;
        s.other = stored.cupsSettings().other;
        s.printer = printerName;
        s.media = custom ? customKey(c.customWidth, c.customLength) : (c.paper >= 0 ? m_papers[c.paper].key : QString());
        s.slot = c.bin >= 0 ? m_bins[c.bin].key : QString();
        s.resolution = res.key;
        s.duplex = c.duplex >= 0 ? m_duplex[c.duplex].key : QString();
        out.setCupsSettings(s);
    }
    return out;
}

DevMode PrinterDriver::defaultDevMode(const QString& printerName, const QueueDefaults& queue) const
{
    if (!isValid())
        return DevMode();
    return write(DevMode(), defaultChoice(queue), printerName);
}

DevMode PrinterDriver::complete(const DevMode& stored, const QString& printerName, const QueueDefaults& queue) const
{
    if (!isValid())
        return DevMode();
    return write(stored, resolve(stored, defaultChoice(queue)), printerName);
}

DriverPaper PrinterDriver::paperFor(const DevMode& mode) const
{
    if (!isValid())
        return DriverPaper();
    Choice c = resolve(mode, defaultChoice({}));
    if (c.paper >= 0)
        return m_papers[c.paper];
    DriverPaper p;
    p.key = customKey(c.customWidth, c.customLength);
    p.name = kUserSizeName;
    p.dmPaper = DevMode::PaperUser;
    p.widthPt = tenthMmToPt(c.customWidth);
    p.heightPt = tenthMmToPt(c.customLength);
    p.left = m_customMargins[0];
    p.bottom = m_customMargins[1];
    p.right = p.widthPt - m_customMargins[2];
    p.top = p.heightPt - m_customMargins[3];
    return p;
}

DeviceValues PrinterDriver::deviceValues(const DevMode& mode) const
{
    DeviceValues v;
    if (!isValid())
        return v;
    const Choice c = resolve(mode, defaultChoice({}));
    const DriverPaper p = paperFor(mode);
    const DriverResolution r = c.resolution >= 0 ? m_resolutions[c.resolution] : DriverResolution{QString(), 300, 300};
    const double w = p.widthPt, h = p.heightPt;
    const double marginLeft = qMax(0.0, p.left), marginBottom = qMax(0.0, p.bottom);
    const double marginRight = qMax(0.0, w - p.right), marginTop = qMax(0.0, h - p.top);
    const double printW = qMax(0.0, w - marginLeft - marginRight);
    const double printH = qMax(0.0, h - marginTop - marginBottom);

    if (c.orientation != DevMode::OrientationLandscape) {
        v.logPixelsX = r.x;
        v.logPixelsY = r.y;
        v.physicalWidth = px(w, r.x);
        v.physicalHeight = px(h, r.y);
        v.physicalOffsetX = px(marginLeft, r.x);
        v.physicalOffsetY = px(marginTop, r.y);
        v.horzRes = px(printW, r.x);
        v.vertRes = px(printH, r.y);
    } else {
        // The landscape page lies on the portrait sheet turned by a quarter: by default
        // counter-clockwise, so its top edge runs along the sheet's left edge.
        v.logPixelsX = r.y;
        v.logPixelsY = r.x;
        v.physicalWidth = px(h, r.y);
        v.physicalHeight = px(w, r.x);
        v.physicalOffsetX = px(m_landscapeMinus90 ? marginTop : marginBottom, r.y);
        v.physicalOffsetY = px(m_landscapeMinus90 ? marginRight : marginLeft, r.x);
        v.horzRes = px(printH, r.y);
        v.vertRes = px(printW, r.x);
    }
    return v;
}

QSizeF PrinterDriver::sheetSizePoints(const DevMode& mode) const
{
    if (!isValid())
        return QSizeF();
    const DriverPaper p = paperFor(mode);
    if (resolve(mode, defaultChoice({})).orientation == DevMode::OrientationLandscape)
        return QSizeF(p.heightPt, p.widthPt);
    return QSizeF(p.widthPt, p.heightPt);
}

QVector<QPair<QString, QString>> PrinterDriver::jobOptions(const DevMode& mode) const
{
    QVector<QPair<QString, QString>> out;
    if (!isValid())
        return out;
    const Choice c = resolve(mode, defaultChoice({}));
    const bool ppd = m_kind == Kind::Ppd;
    const QString paper = c.paper >= 0 ? m_papers[c.paper].key : customKey(c.customWidth, c.customLength);
    out.append({ppd ? QStringLiteral("PageSize") : QStringLiteral("media"), paper});
    if (c.bin >= 0)
        out.append({ppd ? QStringLiteral("InputSlot") : QStringLiteral("media-source"), m_bins[c.bin].key});
    if (c.resolution >= 0 && !m_resolutions[c.resolution].key.isEmpty()) {
        const DriverResolution& r = m_resolutions[c.resolution];
        out.append({ppd ? QStringLiteral("Resolution") : QStringLiteral("printer-resolution"), r.key});
    }
    if (c.duplex >= 0)
        out.append({ppd ? QStringLiteral("Duplex") : QStringLiteral("sides"), m_duplex[c.duplex].key});
    if (c.orientation == DevMode::OrientationLandscape)
        out.append({QStringLiteral("orientation-requested"), QStringLiteral("4")});
    if (c.copies > 1)
        out.append({QStringLiteral("copies"), QString::number(c.copies)});
    return out;
}

#pragma GCC diagnostic pop
