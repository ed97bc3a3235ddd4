#pragma once
// The shape of the address lists the tests and benchmarks make up: seven fields in this
// order, each in "" quotes: postal code, address 1, address 2, name 1, name 2, customer
// barcode, honorific.

#include "app/AppSettings.h"
#include "support/TestText.h"

#include <QStringList>

namespace testaddresses {

// The column map of such a list.
inline CsvColumnMap columns()
{
    CsvColumnMap m;
    m.textDelimiter = QStringLiteral("\"");
    m.postNo = 1;
    m.adr1No = 2;
    m.adr2No = 3;
    m.mei1No = 4;
    m.mei2No = 5;
    m.cbarNo = 6;
    m.keisNo = 7;
    return m;
}

// The file of such a list: a header line, then the records, CR LF line ends, Shift-JIS.
inline QByteArray fileBytes(const QStringList& records)
{
    QString text = QStringLiteral("郵便番号,住所1,住所2,名前1,名前2,バーコード,敬称\r\n");
    for (const QString& line : records)
        text += line + QStringLiteral("\r\n");
    return testtext::sjis(text);
}

// The benchmarks' list of `count` records: every field filled, two columns more than
// the map uses (a note and a telephone number).
inline QStringList benchmarkRecords(int count)
{
    QStringList lines;
    lines.reserve(count);
    for (int i = 0; i < count; ++i) {
        lines.append(QStringLiteral("\"%1-%2\",\"東京都千代田区丸の内%3丁目%4番\",\"サンプルビル%5階\","
                                    "\"株式会社サンプル%6\",\"山田　太郎%7\",\"C%8\",\"様\",\"備考欄\",\"03-0000-%9\"")
                         .arg(100 + i % 900)
                         .arg(i % 10000, 4, 10, QLatin1Char('0'))
                         .arg(i % 9 + 1)
                         .arg(i % 30 + 1)
                         .arg(i % 20 + 1)
                         .arg(i)
                         .arg(i % 7)
                         .arg(i)
                         .arg(i % 10000, 4, 10, QLatin1Char('0')));
    }
    return lines;
}

} // namespace testaddresses
