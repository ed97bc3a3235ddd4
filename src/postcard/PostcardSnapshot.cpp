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

PostcardSnapshot PostcardSnapshot::fromSettings(const AppSettings& settings, const QStringList& records,
                                                const HonorificChoice& honorific)
{
    PostcardSnapshot s;
    s.takeSettings(settings, true, records, honorific);
    s.senderPostalBoxes = settings.postcardFields[6].postWaku;
    return s;
}

bool PostcardSnapshot::operator==(const PostcardSnapshot& o) const
{
    return LayoutSnapshot::operator==(o) && printOnlyShown == o.printOnlyShown && shownRecord == o.shownRecord
        && senderPostalBoxes == o.senderPostalBoxes;
}
