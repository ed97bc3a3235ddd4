#include "postcard/PostcardSnapshot.h"

int PostcardSnapshot::pageCount() const
{
    return printOnlyShown ? 1 : choice.count(int(records.size()));
}

int PostcardSnapshot::recordForPage(int page) const
{
    return printOnlyShown ? shownRecord : choice.at(page - 1, int(records.size()));
}

QVector<int> PostcardSnapshot::printedRecords() const
{
    return printOnlyShown ? QVector<int> { shownRecord } : choice.records(int(records.size()));
}

PostcardSnapshot PostcardSnapshot::fromLayout(const LayoutState& layout, const QStringList& records,
                                              const CsvColumnMap& columns, const SenderInfo& sender)
{
    PostcardSnapshot s;
    s.takeLayout(layout, records, columns, sender);
    s.senderPostalBoxes = layout.field(7).style.postWaku;
    return s;
}

PostcardSnapshot PostcardSnapshot::fromSettings(const AppSettings& settings, const QStringList& records,
                                                const HonorificChoice& honorific, LayoutOpening* opening)
{
    LayoutOpening o = LayoutDocument::read(settings, LayoutKind::Postcard);
    o.state.honorific = honorific;
    if (opening)
        *opening = o;
    return fromLayout(o.state, records, settings.csv, settings.sender);
}

bool PostcardSnapshot::operator==(const PostcardSnapshot& o) const
{
    return LayoutSnapshot::operator==(o) && printOnlyShown == o.printOnlyShown && shownRecord == o.shownRecord
        && senderPostalBoxes == o.senderPostalBoxes;
}
