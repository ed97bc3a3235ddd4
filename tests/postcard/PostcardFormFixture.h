#pragma once
// A postcard form on a settings directory of its own (LayoutFormFixture): 25 invented
// recipients and a layout with the recipient fields on the card and the rest hidden.

#include "layout/ui/TImageEL.h"
#include "postcard/ui/TFrmCsvPostSet.h"
#include "support/FieldStyles.h"
#include "support/LayoutFormFixture.h"

namespace postcardtest {

using testtext::sjis;

// One invented recipient per line: postal code, address 1, address 2, name 1, name 2,
// customer barcode, honorific.
inline QString recordLine(int i)
{
    return QStringLiteral("\"〒%1-%2\",\"東京都千代田区飯田橋%3－１０－８\",\"サンライズビル%4号室\",\"山田　太郎%5\",\"山田　花子\",\"C-%6\",\"様\"")
        .arg(100 + i, 3, 10, QLatin1Char('0'))
        .arg(i, 4, 10, QLatin1Char('0'))
        .arg(i)
        .arg(i)
        .arg(i)
        .arg(i);
}

// A field placed as the test wants it (in "ＭＳ 明朝" unless told).
inline FieldStyle field(int left, int top, int length, bool tate = false, bool visible = true,
                        const QString& face = QStringLiteral("ＭＳ 明朝"), int size = 12)
{
    return teststyles::placedField(left, top, length, tate, visible, face, size);
}

class PostcardForm : public LayoutFormFixture<TFrmCsvPostSet> {
protected:
    void SetUp() override
    {
        LayoutFormFixture::SetUp();
        if (HasFatalFailure())
            return;
        writeRecords(25);
        AppSettings& s = AppSettings::instance();
        s.csv = testaddresses::columns();
        s.csv.fileName = csvPath;
        s.csv.hasHeader = true;
        s.sender.postalCode = QStringLiteral("〒530-0001");
        s.sender.address1 = QStringLiteral("大阪府大阪市北区梅田１－２－３");
        s.sender.name1 = QStringLiteral("鈴木　一郎");
        FieldStyles& f = s.postcardFields;
        f[0] = field(10, 10, 80);
        f[0].post = true;
        f[1] = field(20, 120, 260);                 // address 1, horizontal
        f[2] = field(300, 100, 200, true);          // address 2, vertical
        f[3] = field(60, 260, 180, false, true, QStringLiteral("ＭＳ 明朝"), 18); // name 1
        f[4] = field(60, 300, 180);                 // name 2
        for (int n = 6; n <= 15; ++n)
            f[n - 1] = field(20, 400 + n, 120, false, false);
    }

    // The address list: records 1 to count.
    void writeRecords(int count)
    {
        QStringList lines;
        for (int i = 1; i <= count; ++i)
            lines << recordLine(i);
        writeCsv(lines);
    }
};

} // namespace postcardtest
