#include "layout/RecordListModel.h"

#include "layout/FieldTexts.h"
#include "platform/LCMap.h"

#include <array>

namespace {

// Width and case folded as LCMap folds them (half width, lower case), one character at a
// time from a table: mapping every record through LCMap whole would cost the first keystroke
// of a search on a long list more than a user waits.
class Folder {
public:
    Folder()
    {
        for (char16_t c = 0; c < kBlock; ++c) {
            take(m_cjk, kCjk + c);
            take(m_forms, kForms + c);
        }
    }
    QString operator()(QStringView text) const
    {
        QString out;
        out.reserve(text.size());
        for (QChar c : text) {
            const char16_t u = c.unicode();
            if (u < 0x80)
                out.append(u >= u'A' && u <= u'Z' ? QChar(u + 0x20) : c);
            else if (u >= kCjk && u < kCjk + kBlock && !m_cjk[u - kCjk].isNull())
                out.append(m_cjk[u - kCjk]);
            else if (u >= kForms && u < kForms + kBlock && !m_forms[u - kForms].isNull())
                out.append(m_forms[u - kForms]);
            else
                out.append(c.toLower());
        }
        return out;
    }

private:
    // The blocks LCMap changes the width of: CJK symbols with kana, and the width forms.
    static constexpr char16_t kCjk = 0x3000;
    static constexpr char16_t kForms = 0xFF00;
    static constexpr char16_t kBlock = 0x100;

    static void take(std::array<QString, kBlock>& block, char16_t c)
    {
        const QString one(QChar{ c });
        const QString m = LCMap::map(one, LCMap::HalfWidth | LCMap::LowerCase);
        if (m != one)
            block[c & 0xFF] = m;
    }
    std::array<QString, kBlock> m_cjk;
    std::array<QString, kBlock> m_forms;
};

QString folded(QStringView text)
{
    static const Folder folder;
    return folder(text);
}

} // namespace

RecordListModel::RecordListModel(QStringList records, const CsvColumnMap& columns, const RecordChoice& choice,
                                 QObject* parent)
    : QAbstractTableModel(parent), m_records(std::move(records)), m_columns(columns)
{
    const int n = int(m_records.size());
    m_marks = choice.marks(n);
    m_chosenCount = choice.count(n);
    m_shown.resize(n);
    for (int i = 0; i < n; ++i)
        m_shown[i] = i;
    // Made now rather than on the first keystroke, which should answer at once.
    m_haystack.reserve(n);
    for (const QString& record : std::as_const(m_records))
        m_haystack << folded(record);
}

int RecordListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_shown.size());
}

int RecordListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RecordListModel::data(const QModelIndex& index, int role) const
{
    const int record = recordAt(index.row());
    if (record < 0)
        return {};
    if (index.column() == Number) {
        if (role == Qt::DisplayRole)
            return record + 1;
        if (role == Qt::CheckStateRole)
            return m_marks.at(record) ? Qt::Checked : Qt::Unchecked;
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    const RecordColumns c = RecordColumns::fromLine(m_records.at(record), m_columns);
    switch (index.column()) {
    case PostalCode:
        return c.postalCode.trimmed();
    case Name1:
        return c.name1.trimmed();
    case Name2:
        return c.name2.trimmed();
    case Address1:
        return c.address1.trimmed();
    default:
        return {};
    }
}

bool RecordListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const int record = recordAt(index.row());
    if (record < 0 || index.column() != Number || role != Qt::CheckStateRole)
        return false;
    setMark(record, value.toInt() == Qt::Checked);
    marksChanged(index.row(), index.row());
    return true;
}

Qt::ItemFlags RecordListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == Number)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

QVariant RecordListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case Number:
        return QStringLiteral("番号");
    case PostalCode:
        return QStringLiteral("郵便番号");
    case Name1:
        return QStringLiteral("名称１");
    case Name2:
        return QStringLiteral("名称２");
    case Address1:
        return QStringLiteral("住所１");
    default:
        return {};
    }
}

void RecordListModel::setFilter(const QString& text)
{
    const QString needle = folded(text.trimmed());
    if (needle == m_filter)
        return;
    beginResetModel();
    QVector<int> shown;
    if (needle.isEmpty()) {
        shown.resize(m_records.size());
        for (int i = 0; i < shown.size(); ++i)
            shown[i] = i;
    } else {
        const QStringList& hay = m_haystack;
        // Typing on narrows what is shown already.
        const bool narrowing = !m_filter.isEmpty() && needle.contains(m_filter);
        if (narrowing) {
            for (int record : std::as_const(m_shown)) {
                if (hay.at(record).contains(needle))
                    shown << record;
            }
        } else {
            for (int record = 0; record < hay.size(); ++record) {
                if (hay.at(record).contains(needle))
                    shown << record;
            }
        }
    }
    m_shown = std::move(shown);
    m_filter = needle;
    endResetModel();
}

int RecordListModel::recordAt(int row) const
{
    return row >= 0 && row < m_shown.size() ? m_shown.at(row) : -1;
}

void RecordListModel::setMark(int record, bool on)
{
    if (m_marks.at(record) == on)
        return;
    m_marks[record] = on;
    m_chosenCount += on ? 1 : -1;
}

void RecordListModel::marksChanged(int firstRow, int lastRow)
{
    if (firstRow <= lastRow)
        emit dataChanged(index(firstRow, Number), index(lastRow, Number), { Qt::CheckStateRole });
    emit chosenCountChanged(m_chosenCount);
}

void RecordListModel::setShownChosen(bool chosen)
{
    for (int record : std::as_const(m_shown))
        setMark(record, chosen);
    marksChanged(0, int(m_shown.size()) - 1);
}

void RecordListModel::invertShown()
{
    for (int record : std::as_const(m_shown))
        setMark(record, !m_marks.at(record));
    marksChanged(0, int(m_shown.size()) - 1);
}

void RecordListModel::setChoice(const RecordChoice& choice)
{
    const int n = int(m_records.size());
    m_marks = choice.marks(n);
    m_chosenCount = choice.count(n);
    marksChanged(0, int(m_shown.size()) - 1);
}

RecordChoice RecordListModel::choice() const
{
    if (m_chosenCount == m_records.size())
        return RecordChoice();
    return RecordChoice::fromMarks(m_marks);
}
