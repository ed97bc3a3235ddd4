#include "platform/ComponentStream.h"

#include "platform/Cp932.h"

#include <QtEndian>

#include <limits>

namespace {

constexpr int kMaxDepth = 32;

QString fromAnsi(const QByteArray& bytes)
{
    return Cp932::decode(bytes);
}

// Bounds-checked reader; the first failure sticks and every later read fails too.
class Reader {
public:
    explicit Reader(const QByteArray& data) : m_data(data) {}

    bool ok() const { return m_error.isEmpty(); }
    const QString& error() const { return m_error; }
    int pos() const { return m_pos; }

    void fail(const QString& why)
    {
        if (m_error.isEmpty())
            m_error = QStringLiteral("%1 at byte %2").arg(why).arg(m_pos);
    }

    bool need(qint64 n)
    {
        if (!ok())
            return false;
        if (n < 0 || m_pos + n > m_data.size()) {
            fail(QStringLiteral("unexpected end of stream"));
            return false;
        }
        return true;
    }

    quint8 byte()
    {
        if (!need(1))
            return 0;
        return quint8(m_data.at(m_pos++));
    }

    quint8 peek()
    {
        if (!need(1))
            return 0;
        return quint8(m_data.at(m_pos));
    }

    QByteArray bytes(qint64 n)
    {
        if (!need(n))
            return QByteArray();
        QByteArray out = m_data.mid(m_pos, int(n));
        m_pos += int(n);
        return out;
    }

    template <typename T>
    T number()
    {
        if (!need(sizeof(T)))
            return T();
        T v = qFromLittleEndian<T>(m_data.constData() + m_pos);
        m_pos += int(sizeof(T));
        return v;
    }

    QString shortString() { return fromAnsi(bytes(byte())); }

private:
    const QByteArray& m_data;
    int m_pos = 0;
    QString m_error;
};

bool readValue(Reader& r, ComponentStream::Value* value, int depth);

// Skips the values of a list up to and including its end marker.
bool readList(Reader& r, int depth)
{
    while (r.ok() && r.peek() != ComponentStream::vaNull) {
        ComponentStream::Value ignored;
        if (!readValue(r, &ignored, depth + 1))
            return false;
    }
    r.byte();
    return r.ok();
}

bool readValue(Reader& r, ComponentStream::Value* value, int depth)
{
    using CS = ComponentStream;
    if (depth > kMaxDepth) {
        r.fail(QStringLiteral("values nested too deeply"));
        return false;
    }
    const quint8 type = r.byte();
    value->type = type;
    value->kind = CS::Value::Kind::Other;
    switch (type) {
    case CS::vaInt8:
        value->kind = CS::Value::Kind::Integer;
        value->integer = r.number<qint8>();
        break;
    case CS::vaInt16:
        value->kind = CS::Value::Kind::Integer;
        value->integer = r.number<qint16>();
        break;
    case CS::vaInt32:
        value->kind = CS::Value::Kind::Integer;
        value->integer = r.number<qint32>();
        break;
    case CS::vaInt64:
        value->kind = CS::Value::Kind::Integer;
        value->integer = r.number<qint64>();
        break;
    case CS::vaString:
        value->kind = CS::Value::Kind::String;
        value->string = fromAnsi(r.bytes(r.byte()));
        break;
    case CS::vaLString:
        value->kind = CS::Value::Kind::String;
        value->string = fromAnsi(r.bytes(r.number<quint32>()));
        break;
    case CS::vaWString: {
        value->kind = CS::Value::Kind::String;
        const qint64 chars = r.number<quint32>();
        const QByteArray raw = r.bytes(chars * 2);
        if (r.ok())
            value->string = QString::fromUtf16(reinterpret_cast<const char16_t*>(raw.constData()), chars);
        break;
    }
    case CS::vaUTF8String:
        value->kind = CS::Value::Kind::String;
        value->string = QString::fromUtf8(r.bytes(r.number<quint32>()));
        break;
    case CS::vaNull:
    case CS::vaFalse:
    case CS::vaTrue:
    case CS::vaNil:
        break;
    case CS::vaIdent:
        value->string = r.shortString();
        break;
    case CS::vaExtended:
        r.bytes(10);
        break;
    case CS::vaSingle:
        r.bytes(4);
        break;
    case CS::vaCurrency:
    case CS::vaDate:
    case CS::vaDouble:
        r.bytes(8);
        break;
    case CS::vaBinary:
        r.bytes(r.number<quint32>());
        break;
    case CS::vaList:
        readList(r, depth);
        break;
    case CS::vaSet:
        // Identifiers up to an empty one.
        while (r.ok()) {
            const quint8 len = r.byte();
            if (len == 0)
                break;
            r.bytes(len);
        }
        break;
    case CS::vaCollection:
        // Items, each optionally preceded by an order value and made of properties up
        // to an end marker; the collection ends with another end marker.
        while (r.ok() && r.peek() != CS::vaNull) {
            const quint8 next = r.peek();
            if (next == CS::vaInt8 || next == CS::vaInt16 || next == CS::vaInt32) {
                CS::Value order;
                readValue(r, &order, depth + 1);
            }
            if (r.byte() != CS::vaList) {
                r.fail(QStringLiteral("malformed collection"));
                return false;
            }
            while (r.ok() && r.peek() != 0) {
                r.shortString();
                CS::Value ignored;
                readValue(r, &ignored, depth + 1);
            }
            r.byte();
        }
        r.byte();
        break;
    default:
        r.fail(QStringLiteral("unknown value type %1").arg(type));
        return false;
    }
    return r.ok();
}

bool readComponent(Reader& r, ComponentStream::Component* c, int depth)
{
    if (depth > kMaxDepth) {
        r.fail(QStringLiteral("components nested too deeply"));
        return false;
    }
    // Optional filer flags (inherited, child position, inline).
    if ((r.peek() & 0xF0) == 0xF0) {
        const quint8 flags = r.byte() & 0x0F;
        if (flags & 0x02) {
            ComponentStream::Value position;
            if (!readValue(r, &position, depth) || position.kind != ComponentStream::Value::Kind::Integer) {
                r.fail(QStringLiteral("malformed child position"));
                return false;
            }
        }
    }
    c->className = r.shortString();
    c->name = r.shortString();
    if (r.ok() && c->className.isEmpty()) {
        r.fail(QStringLiteral("empty class name"));
        return false;
    }
    while (r.ok() && r.peek() != 0) {
        ComponentStream::Property p;
        p.name = r.shortString();
        if (!readValue(r, &p.value, depth))
            return false;
        c->properties.append(p);
    }
    r.byte();   // end of properties
    while (r.ok() && r.peek() != 0) {
        ComponentStream::Component child;
        if (!readComponent(r, &child, depth + 1))
            return false;
        c->children.append(child);
    }
    r.byte();   // end of children
    return r.ok();
}

} // namespace

const ComponentStream::Property* ComponentStream::Component::find(const QString& propertyName) const
{
    for (const Property& p : properties) {
        if (p.name.compare(propertyName, Qt::CaseInsensitive) == 0)
            return &p;
    }
    return nullptr;
}

void ComponentStream::writeSignature(QByteArray& out)
{
    out.append("TPF0", 4);
}

void ComponentStream::writeShortString(QByteArray& out, const QString& text)
{
    const QByteArray raw = Cp932::encodeName(text, 255);
    out.append(char(raw.size()));
    out.append(raw);
}

void ComponentStream::writeInteger(QByteArray& out, qint64 value)
{
    char buf[8];
    if (value >= -128 && value <= 127) {
        out.append(char(vaInt8));
        out.append(char(qint8(value)));
    } else if (value >= -32768 && value <= 32767) {
        out.append(char(vaInt16));
        qToLittleEndian<qint16>(qint16(value), buf);
        out.append(buf, 2);
    } else if (value >= std::numeric_limits<qint32>::min() && value <= std::numeric_limits<qint32>::max()) {
        out.append(char(vaInt32));
        qToLittleEndian<qint32>(qint32(value), buf);
        out.append(buf, 4);
    } else {
        out.append(char(vaInt64));
        qToLittleEndian<qint64>(value, buf);
        out.append(buf, 8);
    }
}

void ComponentStream::writeString(QByteArray& out, const QString& text)
{
    const QByteArray raw = Cp932::encodeName(text);
    if (raw.size() <= 255) {
        out.append(char(vaString));
        out.append(char(raw.size()));
    } else {
        char buf[4];
        out.append(char(vaLString));
        qToLittleEndian<quint32>(quint32(raw.size()), buf);
        out.append(buf, 4);
    }
    out.append(raw);
}

void ComponentStream::writeComponent(QByteArray& out, const Component& c)
{
    // A component may begin with a filer flags byte F0..FF, so its class name cannot be 240
    // bytes or longer: a reader would take the length for flags.
    const QByteArray className = Cp932::encodeName(c.className, 0xEF);
    out.append(char(className.size()));
    out.append(className);
    writeShortString(out, c.name);
    for (const Property& p : c.properties) {
        writeShortString(out, p.name);
        if (p.value.kind == Value::Kind::Integer)
            writeInteger(out, p.value.integer);
        else
            writeString(out, p.value.string);
    }
    writeEndOfList(out);
    for (const Component& child : c.children)
        writeComponent(out, child);
    writeEndOfList(out);
}

bool ComponentStream::read(const QByteArray& data, Component* component, QString* error, int* consumed)
{
    Reader r(data);
    if (r.bytes(4) != QByteArrayLiteral("TPF0")) {
        if (error)
            *error = QStringLiteral("not a component stream (no TPF0 signature)");
        return false;
    }
    Component c;
    if (!readComponent(r, &c, 0)) {
        if (error)
            *error = r.error();
        return false;
    }
    *component = c;
    if (consumed)
        *consumed = r.pos();
    return true;
}
