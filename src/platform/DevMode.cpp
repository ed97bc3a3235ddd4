#include "platform/DevMode.h"

#include "platform/Cp932.h"

#include <QtEndian>

namespace {

const QByteArray kSignature = QByteArrayLiteral("TOVALIN-CUPS 1\n");

} // namespace

DevMode DevMode::blank()
{
    DevMode m;
    m.ensureFixedPart();
    return m;
}

void DevMode::ensureFixedPart()
{
    if (m_bytes.size() >= FixedSize && dmSize() == FixedSize)
        return;
    if (m_bytes.size() < FixedSize) {
        // A short record: pad its fixed part; any extra it claimed is not there.
        m_bytes.append(QByteArray(FixedSize - m_bytes.size(), '\0'));
    }
    if (dmSize() == 0 || word(32) == 0) {
        setWord(32, SpecVersion);
        setWord(36, FixedSize);
        setWord(38, 0);
    }
}

int DevMode::word(int offset) const
{
    if (offset < 0 || offset + 2 > m_bytes.size())
        return 0;
    return qFromLittleEndian<quint16>(m_bytes.constData() + offset);
}

int DevMode::shortAt(int offset) const
{
    if (offset < 0 || offset + 2 > m_bytes.size())
        return 0;
    return qFromLittleEndian<qint16>(m_bytes.constData() + offset);
}

void DevMode::setWord(int offset, int value)
{
    if (offset + 2 > m_bytes.size())
        ensureFixedPart();
    qToLittleEndian<quint16>(quint16(value), m_bytes.data() + offset);
}

quint32 DevMode::fields() const
{
    if (m_bytes.size() < 44)
        return 0;
    return qFromLittleEndian<quint32>(m_bytes.constData() + 40);
}

void DevMode::setFields(quint32 f)
{
    ensureFixedPart();
    qToLittleEndian<quint32>(f, m_bytes.data() + 40);
}

void DevMode::setShortField(int offset, int value, quint32 bit)
{
    ensureFixedPart();
    qToLittleEndian<qint16>(qint16(value), m_bytes.data() + offset);
    setFields(fields() | bit);
}

int DevMode::fixedPartSize() const
{
    int stated = dmSize();
    if (stated >= 68 && stated <= m_bytes.size())
        return stated;
    return qMin<int>(int(m_bytes.size()), FixedSize);
}

QByteArray DevMode::driverExtra() const
{
    int start = fixedPartSize();
    int len = qMin<int>(dmDriverExtra(), int(m_bytes.size()) - start);
    if (len <= 0)
        return QByteArray();
    return m_bytes.mid(start, len);
}

void DevMode::setDriverExtra(const QByteArray& extra)
{
    ensureFixedPart();
    m_bytes.truncate(fixedPartSize());
    m_bytes.append(extra);
    setWord(38, int(extra.size()));
}

QString DevMode::readName(int offset, int size) const
{
    if (m_bytes.size() <= offset)
        return QString();
    QByteArray raw = m_bytes.mid(offset, size);
    int zero = raw.indexOf('\0');
    if (zero >= 0)
        raw.truncate(zero);
    return Cp932::decode(raw);
}

void DevMode::writeName(int offset, int size, const QString& name)
{
    ensureFixedPart();
    QByteArray raw = Cp932::encodeName(name, size - 1);
    raw.append(QByteArray(size - raw.size(), '\0'));
    m_bytes.replace(offset, size, raw);
}

QString DevMode::deviceName() const
{
    return readName(0, DeviceNameSize);
}

void DevMode::setDeviceName(const QString& name)
{
    writeName(0, DeviceNameSize, name);
}

QString DevMode::formName() const
{
    return readName(70, FormNameSize);
}

void DevMode::setFormName(const QString& name)
{
    writeName(70, FormNameSize, name);
    setFields(fields() | DM_FORMNAME);
}

bool DevMode::hasCupsSettings() const
{
    return driverExtra().startsWith(kSignature);
}

DevModeCupsSettings DevMode::cupsSettings() const
{
    DevModeCupsSettings s;
    QByteArray extra = driverExtra();
    if (!extra.startsWith(kSignature))
        return s;
    extra.remove(0, kSignature.size());
    int zero = extra.indexOf('\0');
    if (zero >= 0)
        extra.truncate(zero);
    const QList<QByteArray> lines = extra.split('\n');
    for (const QByteArray& line : lines) {
        int eq = line.indexOf('=');
        if (eq <= 0)
            continue;
        QString key = QString::fromUtf8(line.left(eq));
        // As encodeCupsSettings writes a value: no CR, and an empty one is not there, so a
        // record from elsewhere reads the same once we have written it again.
        QString value = QString::fromUtf8(line.mid(eq + 1)).remove(QLatin1Char('\r'));
        if (value.isEmpty())
            continue;
        if (key == QLatin1String("printer"))
            s.printer = value;
        else if (key == QLatin1String("media"))
            s.media = value;
        else if (key == QLatin1String("slot"))
            s.slot = value;
        else if (key == QLatin1String("resolution"))
            s.resolution = value;
        else if (key == QLatin1String("duplex"))
            s.duplex = value;
        else
            s.other.insert(key, value);
    }
    return s;
}

QByteArray DevMode::encodeCupsSettings(const DevModeCupsSettings& s)
{
    QByteArray out = kSignature;
    auto add = [&out](const QString& key, const QString& value) {
        QString clean = value;
        clean.remove(QLatin1Char('\n')).remove(QLatin1Char('\r')).remove(QChar(0));
        if (!clean.isEmpty())
            out += key.toUtf8() + '=' + clean.toUtf8() + '\n';
    };
    add(QStringLiteral("printer"), s.printer);
    add(QStringLiteral("media"), s.media);
    add(QStringLiteral("slot"), s.slot);
    add(QStringLiteral("resolution"), s.resolution);
    add(QStringLiteral("duplex"), s.duplex);
    for (auto it = s.other.constBegin(); it != s.other.constEnd(); ++it)
        add(it.key(), it.value());
    out += '\0';
    return out;
}

void DevMode::setCupsSettings(const DevModeCupsSettings& settings)
{
    setDriverExtra(encodeCupsSettings(settings));
}
