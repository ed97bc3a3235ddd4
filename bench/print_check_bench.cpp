// The check before printing over 10,000 postcards of the New Year card example (eight
// visible text fields: two address lines, two names, the sender's four lines), every record
// different so that no measured text comes back: with the typesetting options as the
// example stores them, with all of them on (漢数字 十百, 縦中横, 自動縮小 on the eight
// fields) and with all of them off.

#include "BenchMain.h"

#include "app/AppSettings.h"
#include "platform/JapaneseFonts.h"
#include "postcard/PostcardComposer.h"
#include "support/SampleAddresses.h"
#include "support/TestText.h"

#include <QGuiApplication>

namespace {

using testtext::u;

enum class Options { AsStored, AllOn, AllOff };

QStringList distinctRecords(int count)
{
    const QStringList towns { u(u"東京都世田谷区桜新町"), u(u"神奈川県横浜市中区山下町"), u(u"大阪府大阪市北区梅田"),
                              u(u"北海道札幌市中央区大通西"), u(u"愛知県名古屋市中区栄") };
    const QStringList buildings { u(u"グリーンハイツ"), u(u"サンシャインシティプリンスレジデンス東館"), u(u"メゾン"),
                                  u(u"ベイサイドタワー"), QString() };
    QStringList records;
    for (int i = 0; i < count; ++i) {
        const QString address1 = towns[i % 5] + QStringLiteral("%1－%2－%3").arg(1 + i % 9).arg(1 + i % 37).arg(1 + i / 37 % 29);
        const QString address2 = buildings[i / 5 % 5].isEmpty() ? QString()
                                                                : buildings[i / 5 % 5] + QStringLiteral("%1号室").arg(101 + i);
        records << QStringLiteral("\"154-0015\",\"%1\",\"%2\",\"%3\",\"%4\",\"\",\"様\"")
                       .arg(address1, address2, u(u"山本　健太郎") + QString::number(i), i % 3 ? QString() : u(u"山本　花子"));
    }
    return records;
}

PostcardSnapshot snapshot(Options options, const QStringList& records)
{
    AppSettings s;
    LoadSettings(s, QStringLiteral(TOVALIN_SOURCE_DIR "/examples/postcard/POSTCSV.INI"));
    s.csv = testaddresses::columns();
    for (int n : { 2, 3, 4, 5, 8, 9, 10, 11 }) {
        FieldStyle& f = s.postcardFields[n - 1];
        if (options == Options::AsStored)
            continue;
        const bool on = options == Options::AllOn;
        f.kansuji = on ? 2 : 0;
        f.tcy = on;
        f.fit = on;
    }
    return PostcardSnapshot::fromSettings(s, records, HonorificChoice { true, u(u"様") });
}

void BM_CheckTenThousandCards(benchmark::State& state)
{
    const QStringList records = distinctRecords(10000);
    const PostcardSnapshot s = snapshot(Options(state.range(0)), records);
    int findings = 0;
    for (auto _ : state) {
        const PrintCheckReport report = CheckPostcardRun(s);
        findings = int(report.findings.size());
    }
    state.counters["findings"] = findings;
    state.counters["records"] = double(records.size());
}
BENCHMARK(BM_CheckTenThousandCards)
    ->ArgName("options")
    ->Arg(int(Options::AsStored))
    ->Arg(int(Options::AllOn))
    ->Arg(int(Options::AllOff))
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmain::prepare();
    QGuiApplication app(argc, argv);
    JapaneseFonts::install();
    return benchmain::run(argc, argv);
}
