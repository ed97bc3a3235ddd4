#include "app/ReadinessCheck.h"

#include "platform/Messages.h"

namespace {

ReadinessResult fail(ReadinessResult::Status status, const QString& first, const QString& second)
{
    ReadinessResult r;
    r.status = status;
    r.message = Messages::twoLines(first, second);
    return r;
}

} // namespace

ReadinessResult CheckReadiness(const CsvColumnMap& csv)
{
    CsvReadInfo info;
    const QStringList lines = ReadCsvLines(csv.fileName, CsvFormat::of(csv), &info);
    return CheckReadiness(csv, lines, info);
}

ReadinessResult CheckReadiness(const CsvColumnMap& csv, const QStringList& lines, const CsvReadInfo& info)
{
    const QString again = QStringLiteral("再設定してから実行して下さい。");
    switch (info.status) {
    case CsvReadInfo::Ok:
        break;
    case CsvReadInfo::Missing:
        return fail(ReadinessResult::FileMissing,
                    QStringLiteral("CSVファイルが指定されていないか存在しません。"), again);
    case CsvReadInfo::Unreadable:
    case CsvReadInfo::TooLarge:
        return fail(ReadinessResult::Unreadable, QStringLiteral("CSVファイルを読み込めません。"),
                    QStringLiteral("ファイルを確認して下さい。"));
    }

    const QStringList records = CsvRecordLines(lines, csv.hasHeader);
    if (records.isEmpty())
        return fail(ReadinessResult::Empty, QStringLiteral("CSVファイルデータが空です。"),
                    QStringLiteral("ファイルを確認して下さい。"));

    const int n = CsvFieldCount(records.first(), CsvFormat::of(csv));
    const struct {
        int column;
        ReadinessResult::Status status;
        const char16_t* text;
    } order[] = {
        { csv.postNo, ReadinessResult::BadPostNo, u"設定された郵便番号項目位置が不正です。" },
        { csv.adr1No, ReadinessResult::BadAdr1No, u"設定された住所１項目位置が不正です。" },
        { csv.adr2No, ReadinessResult::BadAdr2No, u"設定された住所２項目位置が不正です。" },
        { csv.mei1No, ReadinessResult::BadMei1No, u"設定された名称１項目位置が不正です。" },
        { csv.mei2No, ReadinessResult::BadMei2No, u"設定された名称２項目位置が不正です。" },
        { csv.cbarNo, ReadinessResult::BadCbarNo, u"設定されたｶｽﾀﾏﾊﾞｰｺｰﾄﾞ位置が不正です。" },
        { csv.keisNo, ReadinessResult::BadKeisNo, u"設定された敬称項目位置が不正です。" },
        { csv.renNo[0], ReadinessResult::BadRen1No, u"設定された連名１項目位置が不正です。" },
        { csv.renKeisNo[0], ReadinessResult::BadRen1KeisNo, u"設定された連名１敬称項目位置が不正です。" },
        { csv.renNo[1], ReadinessResult::BadRen2No, u"設定された連名２項目位置が不正です。" },
        { csv.renKeisNo[1], ReadinessResult::BadRen2KeisNo, u"設定された連名２敬称項目位置が不正です。" },
        { csv.renNo[2], ReadinessResult::BadRen3No, u"設定された連名３項目位置が不正です。" },
        { csv.renKeisNo[2], ReadinessResult::BadRen3KeisNo, u"設定された連名３敬称項目位置が不正です。" },
    };
    for (const auto& o : order) {
        if (o.column > n)
            return fail(o.status, QString::fromUtf16(o.text), again);
    }
    return ReadinessResult();
}

bool ReadinessCheck(const CsvColumnMap& csv)
{
    const ReadinessResult r = CheckReadiness(csv);
    if (!r.ready())
        Messages::current().warning(r.message);
    return r.ready();
}

bool ReadinessCheck()
{
    return ReadinessCheck(AppSettings::instance().csv);
}
