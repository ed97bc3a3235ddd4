#include "layout/RecordListModel.h"

#include "layout/FieldTexts.h"
#include "platform/LCMap.h"

namespace {

QString folded(const QString& text)
{
    return LCMap::map(text, LCMap::HalfWidth | LCMap::LowerCase);
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

const QStringList& RecordListModel::haystack()
{
    if (m_haystack.size() != m_records.size()) {
        m_haystack.clear();
        m_haystack.reserve(m_records.size());
        for (const QString& record : std::as_const(m_records))
            m_haystack << folded(record);
    }
    return m_haystack;
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
        const QStringList& hay = haystack();
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
