#include "preview/TplSetPrinter.h"

#include "platform/ComponentStream.h"
#include "platform/OverrideCursor.h"
#include "platform/SystemPrinter.h"

#include <QFile>
#include <QIODevice>
#include <QSaveFile>

#include <limits>

namespace {

const QString kClassName = QStringLiteral("TplSetPrinter");
const QString kPrinterName = QStringLiteral("PrinterName");
const QString kLeft = QStringLiteral("Left");
const QString kTop = QStringLiteral("Top");
const QString kDevDataSize = QStringLiteral("DevDataSize");
const QString kADevData = QStringLiteral("ADevData");

// A device-mode record is at most a 16-bit fixed part plus a 16-bit driver part.
constexpr qint64 kMaxDevDataSize = 2 * 65535;

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Two characters per byte; decoding stops at the first pair that is not hexadecimal.
QByteArray decodeHex(const QString& text)
{
    const QByteArray latin = text.toLatin1();
    QByteArray out;
    out.reserve(latin.size() / 2);
    for (int i = 0; i + 1 < latin.size(); i += 2) {
        const int hi = hexDigit(latin.at(i));
        const int lo = hexDigit(latin.at(i + 1));
        if (hi < 0 || lo < 0 || text.at(i).unicode() > 0x7F || text.at(i + 1).unicode() > 0x7F)
            break;
        out.append(char(hi * 16 + lo));
    }
    return out;
}

} // namespace

struct TplSetPrinter::Impl {
    QString componentName;
    QString printerNameText;
    int printerIndex = -1;
    QByteArray devData;
    QString paperName;
    QString paperSourceName;
    bool landscape = false;
    DeviceValues values;
    int left = 0;
    int top = 0;
    bool loading = false;
    mutable QString error;
};

TplSetPrinter::TplSetPrinter(const QString& componentName, QObject* parent)
    : QObject(parent), d(new Impl)
{
    d->componentName = componentName;
    setObjectName(componentName);
    // The printer list is taken once and shared by every component.
    SystemPrinter::instance().printers();
}

TplSetPrinter::~TplSetPrinter()
{
    delete d;
}

QString TplSetPrinter::componentName() const
{
    return d->componentName;
}

bool TplSetPrinter::isPdfPrinterName(const QString& name)
{
    const QString upper = name.toUpper();
    return upper.contains(QLatin1String("ACROBAT")) || upper.contains(QLatin1String("PDFWRITER"))
        || upper.contains(QLatin1String("DISTILLER"));
}

int TplSetPrinter::FindIndexIn(const QVector<PrinterEntry>& printers, const QString& text)
{
    const QString upperText = text.toUpper();
    // The stored text may be a longer form of the name (a network path "\\server\name").
    // Of the names it contains, the longest is the printer meant: "Canon_Color" is not
    // "Canon" just because that one comes first.
    int found = -1;
    for (int i = 0; i < printers.size(); ++i) {
        const PrinterEntry& p = printers[i];
        if (p.hidden() || p.name.isEmpty() || !upperText.contains(p.name.toUpper()))
            continue;
        if (found < 0 || p.name.size() > printers[found].name.size())
            found = i;
    }
    return found;
}

QString TplSetPrinter::ResolveNameIn(const QVector<PrinterEntry>& printers, const QString& text)
{
    const int i = FindIndexIn(printers, text);
    return i >= 0 ? printers[i].name : QString();
}

QString TplSetPrinter::PrinterName() const
{
    return ResolveNameIn(SystemPrinter::instance().printers(), d->printerNameText);
}

QString TplSetPrinter::PrinterNameText() const
{
    return d->printerNameText;
}

int TplSetPrinter::PrinterIndex() const
{
    return d->printerIndex;
}

int TplSetPrinter::FindIndex() const
{
    return FindIndexIn(SystemPrinter::instance().printers(), d->printerNameText);
}

void TplSetPrinter::setPrinterName(const QString& name)
{
    d->printerNameText = name;
    if (SystemPrinter::instance().printers().isEmpty() || d->loading)
        return;
    d->printerIndex = FindIndex();
    // A PDF printer keeps its own default settings.
    if (isPdfPrinterName(name))
        ReadFromPrinter(true);
    else
        ApplyStoredSettings(false);
}

void TplSetPrinter::ReadFromPrinter(bool reselect)
{
    SystemPrinter& sp = SystemPrinter::instance();
    if (sp.printers().isEmpty())
        return;
    // Asking a printer's driver can take a moment (the PPD comes from the scheduler).
    OverrideCursor wait;
    if (reselect)
        sp.setPrinterIndex(d->printerIndex);
    d->printerNameText = sp.printerName();
    // The component follows the printer it now holds the settings of, so that a later
    // ApplyStoredSettings puts them back onto that printer and not onto an earlier one.
    d->printerIndex = sp.printerIndex();
    d->devData = sp.devMode().bytes();
    refreshValues();
}

void TplSetPrinter::ApplyStoredSettings(bool fromStream)
{
    Q_UNUSED(fromStream);
    SystemPrinter& sp = SystemPrinter::instance();
    if (sp.printers().isEmpty())
        return;
    OverrideCursor wait;
    sp.setPrinterIndex(d->printerIndex);
    sp.setDevMode(DevMode(d->devData));
    refreshValues();
    const DevMode installed = sp.devMode();
    d->devData = installed.bytes();
    // The record holds at most 31 bytes of the name; CUPS queue names can be longer.
    QString name = installed.deviceName();
    if (!name.isEmpty() && sp.printerName().startsWith(name))
        name = sp.printerName();
    d->printerNameText = name;
    d->printerIndex = sp.printerIndex();
}

void TplSetPrinter::refreshValues()
{
    SystemPrinter& sp = SystemPrinter::instance();
    const DevMode mode = sp.devMode();
    d->values = sp.deviceValues();
    d->landscape = mode.orientation() != DevMode::OrientationPortrait;
    d->paperName.clear();
    for (const auto& p : sp.paperNames()) {
        if (p.first == mode.paperSize()) {
            d->paperName = p.second.left(64);
            break;
        }
    }
    d->paperSourceName.clear();
    for (const auto& s : sp.paperSources()) {
        if (s.first == mode.defaultSource()) {
            d->paperSourceName = s.second.left(24);
            break;
        }
    }
}

int TplSetPrinter::DevDataSize() const
{
    return int(d->devData.size());
}

const QByteArray& TplSetPrinter::DevData() const
{
    return d->devData;
}

QString TplSetPrinter::PaperName() const
{
    return d->paperName;
}

QString TplSetPrinter::PaperSourceName() const
{
    return d->paperSourceName;
}

bool TplSetPrinter::Landscape() const
{
    return d->landscape;
}

int TplSetPrinter::LogPixelsX() const
{
    return d->values.logPixelsX;
}

int TplSetPrinter::LogPixelsY() const
{
    return d->values.logPixelsY;
}

int TplSetPrinter::PhysicalWidth() const
{
    return d->values.physicalWidth;
}

int TplSetPrinter::PhysicalHeight() const
{
    return d->values.physicalHeight;
}

int TplSetPrinter::PrintableWidth() const
{
    return d->values.horzRes;
}

int TplSetPrinter::PrintableHeight() const
{
    return d->values.vertRes;
}

int TplSetPrinter::PhysicalOffsetX() const
{
    return d->values.physicalOffsetX;
}

int TplSetPrinter::PhysicalOffsetY() const
{
    return d->values.physicalOffsetY;
}

const DeviceValues& TplSetPrinter::deviceValues() const
{
    return d->values;
}

int TplSetPrinter::designLeft() const
{
    return d->left;
}

void TplSetPrinter::setDesignLeft(int left)
{
    d->left = left;
}

int TplSetPrinter::designTop() const
{
    return d->top;
}

void TplSetPrinter::setDesignTop(int top)
{
    d->top = top;
}

QByteArray TplSetPrinter::toStream(bool endOfComponentList) const
{
    ComponentStream::Component c;
    c.className = kClassName;
    c.name = d->componentName;
    auto addInteger = [&c](const QString& name, qint64 v) {
        ComponentStream::Property p;
        p.name = name;
        p.value.kind = ComponentStream::Value::Kind::Integer;
        p.value.integer = v;
        c.properties.append(p);
    };
    auto addString = [&c](const QString& name, const QString& v) {
        ComponentStream::Property p;
        p.name = name;
        p.value.kind = ComponentStream::Value::Kind::String;
        p.value.string = v;
        c.properties.append(p);
    };
    const QString resolved = PrinterName();
    if (!resolved.isEmpty())
        addString(kPrinterName, resolved);
    if (d->left != 0)
        addInteger(kLeft, d->left);
    if (d->top != 0)
        addInteger(kTop, d->top);
    addInteger(kDevDataSize, d->devData.size());
    if (!d->devData.isEmpty())
        addString(kADevData, QString::fromLatin1(d->devData.toHex().toUpper()));

    QByteArray out;
    ComponentStream::writeSignature(out);
    ComponentStream::writeComponent(out, c);
    if (endOfComponentList)
        ComponentStream::writeEndOfList(out);
    return out;
}

bool TplSetPrinter::writeComponent(QIODevice* out, bool endOfComponentList) const
{
    const QByteArray bytes = toStream(endOfComponentList);
    if (!out || out->write(bytes) != bytes.size()) {
        d->error = out ? out->errorString() : QStringLiteral("no output");
        return false;
    }
    return true;
}

bool TplSetPrinter::readComponent(QIODevice* in)
{
    if (!in) {
        d->error = QStringLiteral("no input");
        return false;
    }
    const QByteArray bytes = in->read(MaxStreamSize + 1);
    return readComponent(bytes);
}

bool TplSetPrinter::readComponent(const QByteArray& stream)
{
    if (stream.size() > MaxStreamSize) {
        d->error = QStringLiteral("stream too large");
        return false;
    }
    ComponentStream::Component c;
    QString error;
    if (!ComponentStream::read(stream, &c, &error)) {
        d->error = error;
        return false;
    }
    if (c.className != kClassName) {
        d->error = QStringLiteral("stream holds a %1, not a %2").arg(c.className, kClassName);
        return false;
    }
    // Check every property we use before changing anything.
    using Kind = ComponentStream::Value::Kind;
    const ComponentStream::Property* name = c.find(kPrinterName);
    const ComponentStream::Property* left = c.find(kLeft);
    const ComponentStream::Property* top = c.find(kTop);
    const ComponentStream::Property* size = c.find(kDevDataSize);
    const ComponentStream::Property* data = c.find(kADevData);
    if ((name && name->value.kind != Kind::String) || (left && left->value.kind != Kind::Integer)
        || (top && top->value.kind != Kind::Integer) || (size && size->value.kind != Kind::Integer)
        || (data && data->value.kind != Kind::String)) {
        d->error = QStringLiteral("a property has a value of the wrong type");
        return false;
    }
    if (size && (size->value.integer < 0 || size->value.integer > kMaxDevDataSize)) {
        d->error = QStringLiteral("DevDataSize out of range");
        return false;
    }
    // A size without the record it gives the size of: the file is damaged (taking its name
    // alone would leave a name that does not belong to the settings the component holds).
    if (size && size->value.integer > 0 && !data) {
        d->error = QStringLiteral("DevDataSize without ADevData");
        return false;
    }
    if (data && data->value.string.size() > 2 * kMaxDevDataSize) {
        d->error = QStringLiteral("ADevData too long");
        return false;
    }
    // The designer position may come as a 64-bit value; one beyond an int is not a position.
    for (const ComponentStream::Property* p : { left, top }) {
        if (p && (p->value.integer < std::numeric_limits<int>::min() || p->value.integer > std::numeric_limits<int>::max())) {
            d->error = QStringLiteral("%1 out of range").arg(p->name);
            return false;
        }
    }

    d->error.clear();
    if (name) {
        d->loading = true;
        setPrinterName(name->value.string);
        d->loading = false;
    }
    if (left)
        d->left = int(left->value.integer);
    if (top)
        d->top = int(top->value.integer);
    const qint64 devDataSize = size ? size->value.integer : (data ? data->value.string.size() / 2 : 0);
    if (devDataSize == 0) {
        d->devData.clear();
    } else if (data) {
        d->devData = decodeHex(data->value.string);
        d->printerIndex = FindIndex();
        ApplyStoredSettings(true);
    }
    return true;
}

bool TplSetPrinter::saveToFile(const QString& path, bool endOfComponentList) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        d->error = file.errorString();
        return false;
    }
    if (!writeComponent(&file, endOfComponentList)) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        d->error = file.errorString();
        return false;
    }
    return true;
}

bool TplSetPrinter::loadFromFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        d->error = file.errorString();
        return false;
    }
    if (file.size() > MaxStreamSize) {
        d->error = QStringLiteral("file too large");
        return false;
    }
    return readComponent(&file);
}

QString TplSetPrinter::errorString() const
{
    return d->error;
}
