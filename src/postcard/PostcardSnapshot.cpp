#include "postcard/PostcardSnapshot.h"

#include <QFileInfo>

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
    for (int n = 1; n <= kFieldCount; ++n)
        s.fields[n - 1] = SnapshotField::fromStyle(n, settings.postcardFields[n - 1], true);
    s.senderPostalBoxes = settings.postcardFields[6].postWaku;

    s.stamp = settings.postcardImage;
    if (s.stamp.path.trimmed().isEmpty() || !QFileInfo(s.stamp.path).isFile())
        s.stamp = ImageBox(); // no picture: 0 x 0 at (0, 0)

    s.records = records;
    s.columns = settings.csv;
    s.sender = settings.sender;
    s.honorific = honorific;
    s.senderPostMark = settings.postcardPostMark;
    s.offsetX = offsetTenths(settings.postcardOffsetX);
    s.offsetY = offsetTenths(settings.postcardOffsetY);
    s.shownRecord = 0;
    return s;
}

bool PostcardSnapshot::operator==(const PostcardSnapshot& o) const
{
    return LayoutSnapshot::operator==(o) && printOnlyShown == o.printOnlyShown && shownRecord == o.shownRecord
        && senderPostalBoxes == o.senderPostalBoxes;
}
