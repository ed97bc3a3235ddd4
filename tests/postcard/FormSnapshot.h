#pragma once
// The snapshot a postcard form takes of its controls after opening on a layout: apply the
// fifteen styles, compute every box's font and thickness, fill the texts of record 0, then
// copy boxes, record lines and check boxes (the stamp, offsets and 郵便枠対応 as loaded).

#include "app/AppSettings.h"
#include "layout/ui/LayoutFields.h"
#include "layout/ui/TPaintBoxEL.h"
#include "postcard/PostcardSnapshot.h"

#include <QFileInfo>
#include <QWidget>

namespace postcardtest {

inline PostcardSnapshot formSnapshot(const AppSettings& a, const QStringList& records, const HonorificChoice& honorific)
{
    QWidget card;
    card.resize(378, 559);
    LayoutFields fields(LayoutFields::Form::Postcard, &card);
    fields.records = records;
    fields.columns = a.csv;
    fields.sender = a.sender;
    fields.honorific = honorific;
    fields.senderPostMark = a.postcardPostMark;
    for (int n = 1; n <= kFieldCount; ++n)
        fields.applyStyle(n, a.postcardFields[n - 1]);
    for (TPaintBoxEL* b : fields.boxes())
        fields.ApplyFieldFont(b);
    fields.FillFieldTexts(0);

    PostcardSnapshot s;
    fields.fillSnapshot(s);
    // imgStamp: the stored box of a picture that exists, else nothing at (0, 0).
    if (QFileInfo(a.postcardImage.path).isFile())
        s.stamp = a.postcardImage;
    s.offsetX = LayoutSnapshot::offsetTenths(a.postcardOffsetX);
    s.offsetY = LayoutSnapshot::offsetTenths(a.postcardOffsetY);
    s.senderPostalBoxes = a.postcardFields[6].postWaku;
    s.shownRecord = fields.currentRecord();
    return s;
}

} // namespace postcardtest
