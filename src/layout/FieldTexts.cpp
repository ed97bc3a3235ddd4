#include "layout/FieldTexts.h"

#include "app/CsvSource.h"

namespace {

const QString& blank()
{
    static const QString s = QStringLiteral(" ");
    return s;
}

const QChar kPostMark(0x3012);      // 〒
const QChar kIdeographicSpace(0x3000);
const QChar kFullWidthHyphen(0xFF0D); // －, Shift-JIS 81 7C

QString prefixed(const char* prefix, const QString& value)
{
    return FieldTexts::isBlank(value) ? QString() : QLatin1String(prefix) + value;
}

} // namespace

RecordColumns RecordColumns::fromLine(QStringView line, const CsvColumnMap& map)
{
    RecordColumns c;
    // One pass over the line; column numbers below 1 ("対象項目無し", never set) give " ".
    const QStringList fields = CsvFields(line, CsvFormat::of(map));
    auto column = [&fields](int n) -> QString {
        return n >= 1 && n <= fields.size() ? fields.at(n - 1) : blank();
    };
    c.postalCode = column(map.postNo);
    c.address1 = column(map.adr1No);
    c.address2 = column(map.adr2No);
    c.name1 = column(map.mei1No);
    c.name2 = column(map.mei2No);
    c.barcode = column(map.cbarNo);
    c.honorific = column(map.keisNo);
    for (int i = 0; i < kJointNameColumns; ++i) {
        c.jointNames[i] = column(map.renNo[i]);
        c.jointHonorifics[i] = column(map.renKeisNo[i]);
    }
    return c;
}

namespace FieldTexts {

bool isBlank(QStringView text)
{
    for (QChar c : text) {
        if (c.unicode() > 0x20)
            return false;
    }
    return true;
}

QString honorific(const HonorificChoice& choice, const RecordColumns& columns)
{
    return choice.useRegistered ? columns.honorific : choice.fixedText;
}

int honorificTarget(bool visible4, bool visible5, QStringView name2)
{
    if (!visible4 && !visible5)
        return 0;
    if (!visible4)
        return 5;
    return visible5 && !isBlank(name2) ? 5 : 4;
}

void applyHonorific(FieldTextArray& texts, const RecordColumns& columns, const HonorificChoice& choice,
                    const FieldVisibility& visible, TextTarget target)
{
    texts[3] = columns.name1;
    texts[4] = columns.name2;
    const int to = honorificTarget(visible[3], visible[4], columns.name2);
    if (to != 0) {
        // The space goes in even when the honorific is empty.
        texts[to - 1] += kIdeographicSpace;
        texts[to - 1] += honorific(choice, columns);
    }
    if (target == TextTarget::Screen) {
        for (int i : {3, 4}) {
            if (isBlank(texts[i]))
                texts[i] = blank();
        }
    }
}

FieldTextArray senderTexts(const SenderInfo& sender)
{
    FieldTextArray t;
    t[7] = sender.address1;
    t[8] = sender.address2;
    t[9] = sender.name1;
    t[10] = sender.name2;
    t[11] = prefixed("Tel ", sender.tel);
    t[12] = prefixed("Fax ", sender.fax);
    t[13] = prefixed("EMail ", sender.mail);
    t[14] = prefixed("URL ", sender.url);
    return t;
}

FieldTextArray fill(const RecordColumns& columns, const SenderInfo& sender, const HonorificChoice& choice,
                    const FieldVisibility& visible, TextTarget target)
{
    return fill(columns, senderTexts(sender), choice, visible, target);
}

FieldTextArray fill(const RecordColumns& columns, const FieldTextArray& sender, const HonorificChoice& choice,
                    const FieldVisibility& visible, TextTarget target)
{
    FieldTextArray t;
    t[0] = columns.postalCode;
    t[1] = columns.address1;
    t[2] = columns.address2;
    t[5] = columns.barcode;
    applyHonorific(t, columns, choice, visible, TextTarget::Print);
    for (int i = 7; i < kFieldCount; ++i)
        t[i] = sender[i];
    if (target == TextTarget::Screen) {
        for (QString& s : t) {
            if (isBlank(s))
                s = blank();
        }
    }
    return t;
}

namespace {

bool isNameSpace(QChar c)
{
    return c == QLatin1Char(' ') || c == kIdeographicSpace;
}

// Blanks, ideographic spaces included, taken off both ends: a joint-name cell padded by hand
// to line up under name 1 lines up by the block's own rule instead.
QString trimmedName(const QString& text)
{
    qsizetype b = 0, e = text.size();
    while (b < e && (text.at(b).unicode() <= 0x20 || text.at(b) == kIdeographicSpace))
        ++b;
    while (e > b && (text.at(e - 1).unicode() <= 0x20 || text.at(e - 1) == kIdeographicSpace))
        --e;
    return text.mid(b, e - b);
}

QVector<NameBlockTexts::Name> jointNames(const std::array<QString, kJointNameColumns>& names,
                                         const std::array<QString, kJointNameColumns>& honorifics, int count,
                                         const QString& fallbackHonorific)
{
    QVector<NameBlockTexts::Name> out;
    for (int i = 0; i < count; ++i) {
        const QString name = trimmedName(names[i]);
        if (name.isEmpty())
            continue; // an empty joint name between filled ones leaves no gap
        const QString own = trimmedName(honorifics[i]);
        out.append({ name, own.isEmpty() ? fallbackHonorific : own, !isFullName(name) });
    }
    return out;
}

} // namespace

bool isFullName(QStringView name)
{
    const QString t = trimmedName(name.toString());
    for (QChar c : t) {
        if (isNameSpace(c))
            return true;
    }
    return false;
}

int givenNameStart(QStringView name1)
{
    bool seen = false;
    for (qsizetype i = 0; i < name1.size(); ++i) {
        if (!isNameSpace(name1.at(i)))
            seen = true;
        else if (seen)
            return int(i + 1);
    }
    return -1;
}

NameBlockTexts recipientNames(const RecordColumns& columns, const HonorificChoice& choice,
                              const FieldVisibility& visible)
{
    NameBlockTexts block;
    if (!visible[3])
        return block;
    const QString honorificText = trimmedName(honorific(choice, columns));
    block.name1.text = isBlank(columns.name1) ? QString() : columns.name1;
    if (honorificTarget(visible[3], visible[4], columns.name2) == 4)
        block.name1.honorific = honorificText;
    block.joints = jointNames(columns.jointNames, columns.jointHonorifics, kJointNameColumns, honorificText);
    return block;
}

NameBlockTexts senderNames(const SenderInfo& sender)
{
    NameBlockTexts block;
    block.name1.text = isBlank(sender.name1) ? QString() : sender.name1;
    std::array<QString, kJointNameColumns> names{}, honorifics{};
    for (int i = 0; i < kSenderJointNames; ++i)
        names[i] = sender.jointNames[i];
    block.joints = jointNames(names, honorifics, kSenderJointNames, QString());
    return block;
}

QString postalDigits(const QString& text)
{
    if (isBlank(text))
        return blank();
    // Under the half-width and upper-case mapping exactly the ASCII digits and the full-width
    // digits U+FF10..U+FF19 come out as "0".."9" (LCMap), so one pass picks them directly.
    QString digits;
    digits.reserve(8);
    for (QChar c : text) {
        const char16_t v = c.unicode();
        if (v >= u'0' && v <= u'9')
            digits.append(c);
        else if (v >= 0xFF10 && v <= 0xFF19)
            digits.append(QChar(char16_t(v - 0xFF10 + u'0')));
    }
    return digits;
}

QString postMark(const QString& code, bool putMark)
{
    const bool marked = code.startsWith(kPostMark);
    if (putMark)
        return marked ? code : kPostMark + code;
    return marked ? code.mid(1) : code;
}

QString postMarkUnlessBlank(const QString& code, bool putMark)
{
    return isBlank(code) ? QString() : postMark(code, putMark);
}

bool replacesHyphens(int field, TextTarget target)
{
    switch (field) {
    case 2:
    case 3:
    case 8:
    case 9:
        return true;
    case 7:
        return target == TextTarget::Screen;
    default:
        return false;
    }
}

QString asciiHyphens(const QString& text)
{
    QString out = text;
    out.replace(kFullWidthHyphen, QLatin1Char('-'));
    return out;
}

} // namespace FieldTexts
