// Building the fifteen field texts for many records, as a print run does page after page.
#include "BenchMain.h"

#include "layout/FieldTexts.h"
#include "support/SampleAddresses.h"

#include <QCoreApplication>
#include <QStringList>


namespace {

SenderInfo sampleSender()
{
    SenderInfo s;
    s.postalCode = QStringLiteral("〒100-0001");
    s.address1 = QStringLiteral("東京都千代田区千代田１－１");
    s.name1 = QStringLiteral("差出　人");
    s.tel = QStringLiteral("03-1234-5678");
    s.mail = QStringLiteral("info@example.jp");
    return s;
}

// 100,000 records: columns, honorific, sender fields and the postal digits of field 1.
void BM_FillFieldTexts100k(benchmark::State& state)
{
    const QStringList records = testaddresses::benchmarkRecords(100000);
    const CsvColumnMap map = testaddresses::columns();
    const FieldTextArray sender = FieldTexts::senderTexts(sampleSender());
    const HonorificChoice choice{true, QString()};
    FieldVisibility visible;
    visible.fill(true);
    for (auto _ : state) {
        qsizetype total = 0;
        for (const QString& line : records) {
            const RecordColumns columns = RecordColumns::fromLine(line, map);
            FieldTextArray texts = FieldTexts::fill(columns, sender, choice, visible, TextTarget::Screen);
            texts[0] = FieldTexts::postalDigits(texts[0]);
            total += texts[0].size() + texts[4].size();
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * records.size());
}
BENCHMARK(BM_FillFieldTexts100k)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmain::prepare();
    QCoreApplication app(argc, argv);
    return benchmain::run(argc, argv);
}
