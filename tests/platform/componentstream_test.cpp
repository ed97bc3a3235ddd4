#include "platform/ComponentStream.h"

#include <gtest/gtest.h>

namespace {

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(text);
}

ComponentStream::Property intProp(const QString& name, qint64 v)
{
    ComponentStream::Property p;
    p.name = name;
    p.value.kind = ComponentStream::Value::Kind::Integer;
    p.value.integer = v;
    return p;
}

// "TPF0", class TplSetPrinter, component "c", then the given property bytes and the two end markers.
QByteArray streamWith(const QByteArray& properties, const QByteArray& tail = QByteArrayLiteral("\0\0"))
{
    return QByteArrayLiteral("TPF0\x0dTplSetPrinter\x01" "c") + properties + tail;
}

} // namespace

TEST(ComponentStream, IntegersTakeTheSmallestType)
{
    struct Case {
        qint64 value;
        const char* bytes;
    };
    const Case cases[] = {
        {0, "0200"},          {32, "0220"},           {127, "027f"},         {-128, "0280"},
        {128, "038000"},      {-129, "037fff"},       {514, "030202"},       {32767, "03ff7f"},
        {-32768, "030080"},   {32768, "0400800000"},  {-32769, "04ff7fffff"}, {2147483647, "04ffffff7f"},
    };
    for (const Case& c : cases) {
        QByteArray out;
        ComponentStream::writeInteger(out, c.value);
        EXPECT_EQ(out.toHex(), QByteArray(c.bytes)) << c.value;
    }
}

TEST(ComponentStream, StringsUpTo255BytesAreShortLongerOnesLong)
{
    struct Case {
        QString text;
        QByteArray expected;
    };
    const QString s255(255, QLatin1Char('A'));
    const QString s256(256, QLatin1Char('B'));
    const Case cases[] = {
        {QString(), hex("0600")},
        {QStringLiteral("Tovalin"), hex("0607") + "Tovalin"},
        // Code page 932: two bytes per kanji.
        {QStringLiteral("宛名"), hex("0604") + hex("88b696bc")},
        {s255, hex("06ff") + s255.toLatin1()},
        {s256, hex("0c00010000") + s256.toLatin1()},
    };
    for (const Case& c : cases) {
        QByteArray out;
        ComponentStream::writeString(out, c.text);
        EXPECT_EQ(out.toHex(), c.expected.toHex()) << c.text.size();
    }
}

TEST(ComponentStream, NamesAreCodePage932CutWithoutSplittingACharacter)
{
    struct Case {
        const char* what;
        QString text;
        QByteArray expected; // the bytes after the length byte
    };
    const QString kanji200 = QString(200, QChar(0x5B9B)); // 宛
    const Case cases[] = {
        {"ASCII beyond 255", QString(300, QLatin1Char('A')), QByteArray(255, 'A')},
        // 127 kanji are 254 bytes; a 255th byte would be half of the 128th.
        {"double-byte characters beyond 255 bytes", kanji200, QByteArray::fromHex(QByteArray("88b6").repeated(127))},
        {"one byte, then double-byte ones", QLatin1Char('A') + kanji200, "A" + QByteArray::fromHex(QByteArray("88b6").repeated(127))},
        {"wave dash and minus as Windows writes them", QStringLiteral("〜−"), hex("8160817c")},
        {"a character without a code", QStringLiteral("Printer\U0001F5A8"), "Printer?"},
    };
    for (const Case& c : cases) {
        QByteArray out;
        ComponentStream::writeShortString(out, c.text);
        ASSERT_FALSE(out.isEmpty()) << c.what;
        EXPECT_EQ(quint8(out.at(0)), c.expected.size()) << c.what;
        EXPECT_EQ(out.mid(1).toHex(), c.expected.toHex()) << c.what;
    }
}

TEST(ComponentStream, AWrittenComponentReadsBackEvenWithALongClassName)
{
    // A first byte of F0..FF is a component's filer flags, so a class name is kept under 240
    // bytes; names of properties and of the component itself take the full 255.
    for (const int length : { 13, 239, 240, 255, 300 }) {
        ComponentStream::Component c;
        c.className = QString(length, QLatin1Char('T'));
        c.name = QString(length, QLatin1Char('n'));
        c.properties.append(intProp(QStringLiteral("Left"), 32));
        ComponentStream::Component child;
        child.className = QString(length, QLatin1Char('C'));
        c.children.append(child);
        QByteArray out;
        ComponentStream::writeSignature(out);
        ComponentStream::writeComponent(out, c);
        ComponentStream::Component back;
        QString error;
        ASSERT_TRUE(ComponentStream::read(out, &back, &error)) << length << ": " << error.toStdString();
        EXPECT_EQ(back.className, c.className.left(239)) << length;
        EXPECT_EQ(back.name, c.name.left(255)) << length;
        ASSERT_EQ(back.children.size(), 1) << length;
        EXPECT_EQ(back.children[0].className, child.className.left(239)) << length;
        ASSERT_EQ(back.properties.size(), 1) << length;
        EXPECT_EQ(back.properties[0].value.integer, 32) << length;
    }
}

TEST(ComponentStream, ComponentLayout)
{
    ComponentStream::Component c;
    c.className = QStringLiteral("TplSetPrinter");
    c.name = QStringLiteral("plSetPrinter1");
    c.properties.append(intProp(QStringLiteral("Left"), 32));
    QByteArray out;
    ComponentStream::writeSignature(out);
    ComponentStream::writeComponent(out, c);
    ComponentStream::writeEndOfList(out);
    EXPECT_EQ(out, QByteArrayLiteral("TPF0\x0dTplSetPrinter\x0dplSetPrinter1\x04Left\x02\x20\0\0\0"));
}

TEST(ComponentStream, ReaderAcceptsEveryValueTypeAndWidth)
{
    struct Case {
        const char* what;
        QByteArray value;   // type byte and data
        ComponentStream::Value::Kind kind;
        qint64 integer;
        QString string;
    };
    using K = ComponentStream::Value::Kind;
    const Case cases[] = {
        {"int8", hex("02fe"), K::Integer, -2, {}},
        {"int16", hex("030201"), K::Integer, 258, {}},
        {"int32", hex("0400000100"), K::Integer, 65536, {}},
        {"int64", hex("130100000000000000"), K::Integer, 1, {}},
        {"short string", hex("0603") + "abc", K::String, 0, QStringLiteral("abc")},
        {"long string", hex("0c02000000") + "xy", K::String, 0, QStringLiteral("xy")},
        {"cp932 string", hex("0604") + hex("88b696bc"), K::String, 0, QStringLiteral("宛名")},
        {"wide string", hex("1202000000") + hex("9b5b0d54"), K::String, 0, QStringLiteral("宛名")},
        {"utf-8 string", hex("1406000000") + QStringLiteral("宛名").toUtf8(), K::String, 0, QStringLiteral("宛名")},
        {"true", hex("09"), K::Other, 0, {}},
        {"extended", hex("05") + QByteArray(10, '\x11'), K::Other, 0, {}},
        {"double", hex("15") + QByteArray(8, '\x22'), K::Other, 0, {}},
        {"identifier", hex("0705") + "clRed", K::Other, 0, {}},
        {"binary", hex("0a03000000") + "\x01\x02\x03", K::Other, 0, {}},
        {"set", hex("0b") + hex("06") + "fsBold" + hex("08") + "fsItalic" + hex("00"), K::Other, 0, {}},
        {"list", hex("01") + hex("0201") + hex("0603") + "abc" + hex("00"), K::Other, 0, {}},
        {"collection", hex("0e") + hex("01") + hex("04") + "Name" + hex("0601") + "x" + hex("00") + hex("00"), K::Other, 0, {}},
    };
    for (const Case& c : cases) {
        // The value under test, followed by a known property to show reading went on in step.
        const QByteArray bytes = streamWith(hex("01") + "P" + c.value + hex("0b") + "DevDataSize" + hex("0205"));
        ComponentStream::Component comp;
        QString error;
        ASSERT_TRUE(ComponentStream::read(bytes, &comp, &error)) << c.what << ": " << error.toStdString();
        ASSERT_EQ(comp.properties.size(), 2) << c.what;
        EXPECT_EQ(comp.properties[0].value.kind, c.kind) << c.what;
        if (c.kind == K::Integer) {
            EXPECT_EQ(comp.properties[0].value.integer, c.integer) << c.what;
        }
        if (c.kind == K::String) {
            EXPECT_EQ(comp.properties[0].value.string, c.string) << c.what;
        }
        EXPECT_EQ(comp.properties[1].value.integer, 5) << c.what;
    }
}

TEST(ComponentStream, ReaderRejectsTruncatedAndMalformedStreams)
{
    const QByteArray good = streamWith(hex("04") + "Left" + hex("0220"));
    ComponentStream::Component comp;
    ASSERT_TRUE(ComponentStream::read(good, &comp));

    struct Case {
        const char* what;
        QByteArray bytes;
    };
    QVector<Case> cases = {
        {"empty", QByteArray()},
        {"wrong signature", QByteArrayLiteral("TPF1") + good.mid(4)},
        {"unknown value type", streamWith(hex("01") + "P" + hex("63"))},
        {"string longer than the stream", streamWith(hex("01") + "P" + hex("0cffffff7f") + "abc")},
        {"wide string longer than the stream", streamWith(hex("01") + "P" + hex("12ffffffff"))},
        {"empty class name", QByteArrayLiteral("TPF0\0\x01" "c\0\0")},
        {"nesting without end", QByteArrayLiteral("TPF0") + QByteArray(4000, '\x01')},
    };
    // Every cut of a good stream short of its end.
    for (int n = 0; n < good.size(); ++n)
        cases.append({"truncated", good.left(n)});
    for (const Case& c : cases) {
        ComponentStream::Component out;
        out.name = QStringLiteral("untouched");
        QString error;
        EXPECT_FALSE(ComponentStream::read(c.bytes, &out, &error)) << c.what << " (" << c.bytes.size() << " bytes)";
        EXPECT_FALSE(error.isEmpty()) << c.what;
        EXPECT_EQ(out.name, QStringLiteral("untouched")) << c.what;
    }
}

TEST(ComponentStream, ChildrenAndTrailingBytesAreAccepted)
{
    // A child component, then the end-of-component-list marker of a snapshot file.
    const QByteArray bytes = QByteArrayLiteral("TPF0\x0dTplSetPrinter\x01" "c\0\x06TChild\x02" "ch\x04Left\x02\x01\0\0\0\0");
    ComponentStream::Component comp;
    int consumed = 0;
    ASSERT_TRUE(ComponentStream::read(bytes, &comp, nullptr, &consumed));
    ASSERT_EQ(comp.children.size(), 1);
    EXPECT_EQ(comp.children[0].className, QStringLiteral("TChild"));
    EXPECT_EQ(comp.children[0].properties[0].value.integer, 1);
    EXPECT_EQ(consumed, bytes.size() - 1);
}
