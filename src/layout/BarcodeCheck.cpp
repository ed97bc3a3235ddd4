#include "layout/BarcodeCheck.h"

#include "layout/FieldCaptions.h"
#include "layout/FieldGeometry.h"
#include "layout/FieldTexts.h"
#include "layout/LayoutComposer.h"
#include "layout/LayoutUnits.h"

#include <QMap>

namespace {

using FieldGeometry::kBarcodeField;

// The seven postal-code boxes printed on every postcard (where the engine draws them in the
// preview), 0.1 mm from the card's top-left corner.
const QRectF kCardPostalBoxes(448, 120, 486, 85);

struct Obstacle {
    QString name;
    QRectF rect;
    int field = 0; // 0: always there; n: field n, there when its text for the record is not blank
};

QVector<Obstacle> obstacles(const LayoutSnapshot& s, const BarcodePiece& piece)
{
    QVector<Obstacle> out;
    if (piece.postcard)
        out.push_back({ QStringLiteral("郵便番号枠"), kCardPostalBoxes, 0 });
    if (!s.stamp.path.trimmed().isEmpty()) {
        const auto T = LayoutUnits::pixelsToTenths;
        out.push_back({ QStringLiteral("画像"), QRectF(T(s.stamp.left), T(s.stamp.top), T(s.stamp.width), T(s.stamp.height)), 0 });
    }
    for (int n = 1; n <= kFieldCount; ++n) {
        const SnapshotField& f = s.field(n);
        // The postcard's recipient postal code prints into the card's boxes, counted above.
        if (n == kBarcodeField || !f.visible() || (piece.postcard && n == 1))
            continue;
        const LayoutComposer::PrintRect r = LayoutComposer::printRect(f.box, 0, 0);
        out.push_back({ FieldCaptions::caption(n, !piece.postcard), QRectF(r.left, r.top, r.width, r.height), n });
    }
    return out;
}

QString pieceEdge(const BarcodePiece& piece)
{
    return piece.postcard ? QStringLiteral("ハガキの端") : QStringLiteral("ラベルの端");
}

// "1～3, 7, 8" from 0-based records: runs of three or more as ranges. A long list ends after
// kMostParts parts with the number of records left.
constexpr int kMostParts = 30;

QString ranges(QVector<int> records)
{
    std::sort(records.begin(), records.end());
    records.erase(std::unique(records.begin(), records.end()), records.end());
    QStringList parts;
    for (int i = 0; i < records.size();) {
        int j = i;
        while (j + 1 < records.size() && records[j + 1] == records[j] + 1)
            ++j;
        if (j - i >= 2)
            parts << QStringLiteral("%1～%2").arg(records[i] + 1).arg(records[j] + 1);
        else
            for (int k = i; k <= j; ++k)
                parts << QString::number(records[k] + 1);
        i = j + 1;
        if (parts.size() >= kMostParts && i < records.size()) {
            parts << QStringLiteral("ほか %1 件").arg(records.size() - i);
            break;
        }
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace

QVector<BarcodeFinding> CheckBarcodes(const LayoutSnapshot& s, const BarcodePiece& piece, const QVector<int>& records)
{
    QVector<BarcodeFinding> findings;
    const SnapshotField& f6 = s.field(kBarcodeField);
    if (!f6.visible() || !FieldGeometry::printsBarcode(kBarcodeField, f6.style))
        return findings;

    // The symbol's place is the same on every card; what lies around it depends on which
    // fields print something for the record.
    const QRectF symbol = LayoutComposer::barcodeRect(f6, 0, 0);
    const QRectF quiet = symbol.adjusted(-CustomerBarcode::kQuietZone, -CustomerBarcode::kQuietZone,
                                         CustomerBarcode::kQuietZone, CustomerBarcode::kQuietZone);
    const int edge = piece.postcard ? CustomerBarcode::kEdgeDistance : CustomerBarcode::kQuietZone;
    const bool nearEdge = !QRectF(0, 0, piece.width, piece.height).adjusted(edge, edge, -edge, -edge).contains(symbol);
    const QVector<Obstacle> around = obstacles(s, piece);
    const bool senderPostalCode = !FieldTexts::isBlank(s.sender.postalCode);

    for (int record : records) {
        const FieldTextArray texts = s.printTexts(record);
        const CustomerBarcode::Symbol sym = CustomerBarcode::encode(texts[kBarcodeField - 1]);
        if (!sym.isValid()) {
            findings.push_back({ BarcodeFinding::Kind::NotABarcode, record, sym.problem, {} });
            continue;
        }
        QStringList neighbours;
        if (nearEdge)
            neighbours << pieceEdge(piece);
        for (const Obstacle& o : around) {
            const bool prints = o.field == 0 || (o.field == 7 ? senderPostalCode : !FieldTexts::isBlank(texts[o.field - 1]));
            if (prints && quiet.intersects(o.rect))
                neighbours << o.name;
        }
        if (!neighbours.isEmpty())
            findings.push_back({ BarcodeFinding::Kind::TooClose, record, CustomerBarcode::Problem::None, neighbours });
    }
    return findings;
}

QStringList DescribeBarcodeFindings(const QVector<BarcodeFinding>& findings, const BarcodePiece& piece)
{
    QMap<int, QVector<int>> notABarcode; // by problem
    QMap<QString, QVector<int>> tooClose; // by what it is close to
    for (const BarcodeFinding& f : findings) {
        if (f.kind == BarcodeFinding::Kind::NotABarcode)
            notABarcode[int(f.problem)] << f.record;
        else
            tooClose[f.neighbours.join(QStringLiteral("、"))] << f.record;
    }
    QStringList lines;
    for (auto it = notABarcode.cbegin(); it != notABarcode.cend(); ++it) {
        lines << QStringLiteral("カスタマバーコードにできないため、バーコードを印刷しません（%1）: 宛名 %2")
                     .arg(CustomerBarcode::describe(CustomerBarcode::Problem(it.key())), ranges(it.value()));
    }
    for (auto it = tooClose.cbegin(); it != tooClose.cend(); ++it) {
        const QString rule = piece.postcard ? QStringLiteral("周囲に2mm、ハガキの端から10mmの余白が必要です")
                                            : QStringLiteral("周囲に2mmの余白が必要です");
        lines << QStringLiteral("カスタマバーコードが%1に近すぎます（%2）: 宛名 %3").arg(it.key(), rule, ranges(it.value()));
    }
    return lines;
}
