#include "postcard/PostcardSnapshot.h"

int PostcardSnapshot::pageCount() const
{
    return printOnlyShown ? 1 : int(records.size());
}

int PostcardSnapshot::recordForPage(int page) const
{
    return printOnlyShown ? shownRecord : page - 1;
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
