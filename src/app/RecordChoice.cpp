#include "app/RecordChoice.h"

#include "app/CsvSource.h"
#include "platform/LCMap.h"

#include <algorithm>
#include <limits>

RecordChoice RecordChoice::of(QVector<int> records)
{
    std::sort(records.begin(), records.end());
    records.erase(std::unique(records.begin(), records.end()), records.end());
    records.erase(records.begin(), std::lower_bound(records.begin(), records.end(), 0));
    RecordChoice c;
    c.m_every = false;
    c.m_records = std::move(records);
    return c;
}

RecordChoice RecordChoice::fromMarks(const QVector<bool>& marks)
{
    RecordChoice c;
    c.m_every = false;
    for (int i = 0; i < marks.size(); ++i) {
        if (marks.at(i))
            c.m_records.append(i);
    }
    return c;
}

int RecordChoice::count(int listSize) const
{
    if (m_every)
        return std::max(listSize, 0);
    return int(std::lower_bound(m_records.begin(), m_records.end(), listSize) - m_records.begin());
}

int RecordChoice::at(int k, int listSize) const
{
    if (k < 0 || k >= count(listSize))
        return -1;
    return m_every ? k : m_records.at(k);
}

bool RecordChoice::contains(int record) const
{
    if (record < 0)
        return false;
    return m_every || std::binary_search(m_records.begin(), m_records.end(), record);
}

QVector<int> RecordChoice::records(int listSize) const
{
    QVector<int> out;
    const int n = count(listSize);
    out.reserve(n);
    for (int k = 0; k < n; ++k)
        out.append(at(k, listSize));
    return out;
}

QVector<bool> RecordChoice::marks(int listSize) const
{
    QVector<bool> out(std::max(listSize, 0), m_every);
    if (!m_every) {
        for (int r : m_records) {
            if (r >= listSize)
                break;
            out[r] = true;
        }
    }
    return out;
}

RecordChoice RecordChoice::intersected(const RecordChoice& other) const
{
    if (m_every)
        return other;
    if (other.m_every)
        return *this;
    RecordChoice c;
    c.m_every = false;
    std::set_intersection(m_records.begin(), m_records.end(), other.m_records.begin(), other.m_records.end(),
                          std::back_inserter(c.m_records));
    return c;
}

namespace {

const QString kExample = QStringLiteral("（例: 1-36, 40, 45-）");

bool isDash(QChar c)
{
    switch (c.unicode()) {
    case u'-':
    case u'~':
    case 0x2010: // ‐
    case 0x2011:
    case 0x2012:
    case 0x2013: // –
    case 0x2014: // —
    case 0x2015: // ―
    case 0x2212: // −
    case 0x301C: // 〜
    case 0x30FC: // ー, what the "-" key gives in a Japanese input method's kana mode
    case 0xFF70: // ｰ
        return true;
    default:
        return false;
    }
}

bool isSeparator(QChar c)
{
    return c == u',' || c == QChar(0x3001) || c == QChar(0xFF64); // , 、 ､
}

// A record number: digits only; numbers too large for an int are held at the largest, which
// no list reaches.
bool number(QStringView text, int* value)
{
    if (text.isEmpty())
        return false;
    qint64 n = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
        n = std::min<qint64>(n * 10 + (c.unicode() - u'0'), std::numeric_limits<int>::max());
    }
    *value = int(n);
    return true;
}

RecordRanges failed(const QString& error)
{
    RecordRanges r;
    r.error = error;
    return r;
}

} // namespace

RecordRanges RecordRanges::parse(QStringView text)
{
    const QString plain = LCMap::halfWidth(text.toString());
    QStringList items;
    QString item;
    for (QChar c : plain) {
        if (isSeparator(c)) {
            items << item;
            item.clear();
        } else {
            item.append(isDash(c) ? QChar(u'-') : c);
        }
    }
    items << item;

    RecordRanges r;
    for (const QString& raw : items) {
        const QString it = raw.trimmed();
        if (it.isEmpty())
            continue;
        RecordRange range;
        const qsizetype dash = it.indexOf(u'-');
        if (dash < 0) {
            if (!number(it, &range.first))
                return failed(QStringLiteral("「%1」は宛名の番号ではありません%2。").arg(it, kExample));
            range.last = range.first;
        } else {
            if (it.indexOf(u'-', dash + 1) >= 0)
                return failed(QStringLiteral("「%1」は範囲として読めません%2。").arg(it, kExample));
            const QString from = it.left(dash).trimmed();
            const QString to = it.mid(dash + 1).trimmed();
            if (from.isEmpty() && to.isEmpty())
                return failed(QStringLiteral("「%1」には範囲の始めも終わりもありません%2。").arg(it, kExample));
            if (!from.isEmpty() && !number(from, &range.first))
                return failed(QStringLiteral("「%1」は範囲として読めません%2。").arg(it, kExample));
            if (to.isEmpty())
                range.toEnd = true;
            else if (!number(to, &range.last))
                return failed(QStringLiteral("「%1」は範囲として読めません%2。").arg(it, kExample));
        }
        if (range.first < 1 || (!range.toEnd && range.last < 1))
            return failed(QStringLiteral("宛名の番号は 1 から数えます: 「%1」").arg(it));
        if (!range.toEnd && range.last < range.first)
            return failed(QStringLiteral("範囲の始めが終わりより大きくなっています: 「%1」").arg(it));
        r.ranges.append(range);
    }
    if (r.ranges.isEmpty())
        return failed(QStringLiteral("印刷する宛名の番号を入力して下さい%1。").arg(kExample));
    r.ok = true;
    return r;
}

RecordChoice RecordRanges::choose(int listSize, QString* note) const
{
    QVector<bool> marks(std::max(listSize, 0), false);
    bool cut = false;
    for (const RecordRange& range : ranges) {
        const int last = range.toEnd ? listSize : range.last;
        if (range.first > listSize || (!range.toEnd && range.last > listSize))
            cut = true;
        for (int n = range.first; n <= std::min(last, listSize); ++n)
            marks[n - 1] = true;
    }
    if (note) {
        note->clear();
        if (cut)
            *note = QStringLiteral("宛名は %1 件です。%2 件目より後の指定は無視します。").arg(listSize).arg(listSize);
    }
    return RecordChoice::fromMarks(marks);
}

bool IsMarkedCell(QStringView cell)
{
    static const QStringList unmarked = [] {
        QStringList words;
        for (const char16_t* w : { u"0", u"×", u"✕", u"x", u"無", u"いいえ", u"no", u"false" })
            words << LCMap::map(QString::fromUtf16(w), LCMap::HalfWidth | LCMap::LowerCase);
        return words;
    }();
    const QString text = cell.trimmed().toString();
    if (text.isEmpty())
        return false;
    return !unmarked.contains(LCMap::map(text, LCMap::HalfWidth | LCMap::LowerCase));
}

RecordChoice ChoiceByColumn(const QStringList& records, const CsvColumnMap& columns)
{
    if (columns.selNo < 1)
        return RecordChoice();
    const bool printMarked = columns.selMode != 1;
    const CsvFormat format = CsvFormat::of(columns);
    QVector<bool> marks(records.size());
    for (int i = 0; i < records.size(); ++i)
        marks[i] = IsMarkedCell(CsvField(records.at(i), columns.selNo, format)) == printMarked;
    return RecordChoice::fromMarks(marks);
}

bool SelectionColumnMissing(const QStringList& records, const CsvColumnMap& columns)
{
    if (columns.selNo < 1)
        return false;
    const CsvFormat format = CsvFormat::of(columns);
    return std::none_of(records.begin(), records.end(),
                        [&](const QString& record) { return CsvFieldCount(record, format) >= columns.selNo; });
}
