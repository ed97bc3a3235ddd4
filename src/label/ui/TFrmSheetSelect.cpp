#include "label/ui/TFrmSheetSelect.h"

#include "label/LabelGeometry.h"
#include "platform/Messages.h"

#include <QAbstractTableModel>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

using LabelTemplates::Product;

namespace {

enum Column { Maker, Part, Count, Size, Description, ColumnCount };

QString mm(int tenths)
{
    return QString::number(tenths / 10.0, 'f', 1);
}

// What the sheet values will be, in the words of ラベル設定.
QString sheetText(const LabelSheet& s)
{
    return QStringLiteral("列数 %1　行数 %2\nラベル %3 × %4 mm\n上余白 %5　下余白 %6\n左余白 %7　右余白 %8\n横間隔 %9　縦間隔 %10")
        .arg(s.columns)
        .arg(s.rows)
        .arg(mm(LabelGeometry::labelWidth(s)), mm(LabelGeometry::labelHeight(s)), mm(s.topMargin), mm(s.bottomMargin),
             mm(s.leftMargin), mm(s.rightMargin), mm(s.columnGap), mm(s.rowGap));
}

class SheetListModel final : public QAbstractTableModel {
public:
    explicit SheetListModel(const QVector<Product>& products, QObject* parent)
        : QAbstractTableModel(parent), m_products(products)
    {
    }
    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : m_products.size(); }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : ColumnCount; }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        switch (section) {
        case Maker: return QStringLiteral("メーカー");
        case Part: return QStringLiteral("品番");
        case Count: return QStringLiteral("面数");
        case Size: return QStringLiteral("ラベル寸法 (mm)");
        case Description: return QStringLiteral("説明");
        }
        return {};
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        const Product& p = m_products.at(index.row());
        if (role == Qt::DisplayRole) {
            switch (index.column()) {
            case Maker: return p.brand;
            case Part: return p.part;
            case Count: return p.countText();
            case Size: return p.sizeText();
            case Description: return p.description;
            }
        } else if (role == Qt::TextAlignmentRole && (index.column() == Count || index.column() == Size)) {
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        }
        return {};
    }

private:
    const QVector<Product>& m_products;
};

// The rows whose columns hold every word of the search, in the list's order; a search that is
// a number alone ("12", "１２面") puts the sheets of that many labels first.
class SheetFilter final : public QSortFilterProxyModel {
public:
    SheetFilter(const QVector<Product>& products, QObject* parent) : QSortFilterProxyModel(parent), m_products(products) {}
    void setSearch(const QString& text)
    {
        m_search = text;
        static const QRegularExpression count(QStringLiteral("^\\s*(\\d+)\\s*面?\\s*$"));
        const QRegularExpressionMatch m = count.match(text.normalized(QString::NormalizationForm_KC));
        m_count = m.hasMatch() ? m.captured(1).toInt() : 0;
        invalidate();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex&) const override { return m_products.at(row).matches(m_search); }
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override
    {
        if (m_count > 0) {
            const bool a = labels(left.row()) == m_count, b = labels(right.row()) == m_count;
            if (a != b)
                return a;
        }
        return left.row() < right.row();
    }

private:
    int labels(int row) const { return m_products.at(row).sheet.columns * m_products.at(row).sheet.rows; }

    const QVector<Product>& m_products;
    QString m_search;
    int m_count = 0;
};

} // namespace

// --- the sheet picture ---------------------------------------------------------------------

TSheetPicture::TSheetPicture(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(150, 212);
}

void TSheetPicture::setSheet(const LabelSheet* sheet)
{
    m_hasSheet = sheet != nullptr;
    if (sheet)
        m_sheet = *sheet;
    update();
}

void TSheetPicture::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    // The page keeps A4's proportions, centred; one unit is 0.1 mm.
    const double scale = std::min((width() - 4) / double(LabelGeometry::kSheetWidth),
                                  (height() - 4) / double(LabelGeometry::kSheetHeight));
    const QSizeF page(LabelGeometry::kSheetWidth * scale, LabelGeometry::kSheetHeight * scale);
    p.translate((width() - page.width()) / 2.0, (height() - page.height()) / 2.0);
    p.fillRect(QRectF(QPointF(0, 0), page), Qt::white);
    p.setPen(QPen(Qt::darkGray, 1));
    p.drawRect(QRectF(QPointF(0, 0), page));
    if (!m_hasSheet)
        return;
    // The labels in the green of the preview's outlines.
    const int h = LabelGeometry::labelHeight(m_sheet);
    const int w = LabelGeometry::labelWidth(m_sheet);
    p.setPen(QPen(QColor(0, 128, 0), 1));
    p.setBrush(QColor(232, 244, 232));
    for (int r = 1; r <= m_sheet.rows; ++r) {
        for (int c = 1; c <= m_sheet.columns; ++c) {
            const QPoint o = LabelGeometry::cellOrigin(m_sheet, h, w, r, c);
            p.drawRect(QRectF(o.x() * scale, o.y() * scale, w * scale, h * scale));
        }
    }
}

// --- 用紙選択 ----------------------------------------------------------------------------------

TFrmSheetSelect::TFrmSheetSelect(const QVector<Product>& products, QWidget* parent)
    : QDialog(parent), m_products(products)
{
    setObjectName(QStringLiteral("FrmSheetSelect"));
    setWindowTitle(QStringLiteral("用紙選択"));
    resize(820, 480);

    edtSearch = new QLineEdit(this);
    edtSearch->setObjectName(QStringLiteral("edtSearch"));
    edtSearch->setPlaceholderText(QStringLiteral("メーカー、品番、面数（例: 12）、寸法、説明で探します"));
    edtSearch->setClearButtonEnabled(true);

    auto* model = new SheetListModel(m_products, this);
    auto* filter = new SheetFilter(m_products, this);
    filter->setSourceModel(model);
    filter->sort(0);
    m_proxy = filter;

    grdSheets = new QTableView(this);
    grdSheets->setObjectName(QStringLiteral("grdSheets"));
    grdSheets->setModel(m_proxy);
    grdSheets->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdSheets->setSelectionMode(QAbstractItemView::SingleSelection);
    grdSheets->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdSheets->verticalHeader()->hide();
    grdSheets->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    grdSheets->horizontalHeader()->setStretchLastSection(true);
    grdSheets->setColumnWidth(Maker, 110);
    grdSheets->setColumnWidth(Part, 110);
    grdSheets->setColumnWidth(Count, 80);
    grdSheets->setColumnWidth(Size, 110);

    imgSheet = new TSheetPicture(this);
    imgSheet->setObjectName(QStringLiteral("imgSheet"));
    imgSheet->setFixedSize(180, 254);
    lblSheet = new QLabel(this);
    lblSheet->setObjectName(QStringLiteral("lblSheet"));
    lblSheet->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblCount = new QLabel(this);
    lblCount->setObjectName(QStringLiteral("lblCount"));

    auto* buttons = new QDialogButtonBox(this);
    bbtnOk = buttons->addButton(QStringLiteral("選　択"), QDialogButtonBox::AcceptRole);
    bbtnOk->setObjectName(QStringLiteral("bbtnOk"));
    bbtnCancel = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    bbtnCancel->setObjectName(QStringLiteral("bbtnCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* search = new QHBoxLayout;
    search->addWidget(new QLabel(QStringLiteral("検索"), this));
    search->addWidget(edtSearch, 1);
    auto* side = new QVBoxLayout;
    side->addWidget(imgSheet);
    side->addWidget(lblSheet, 1);
    auto* middle = new QHBoxLayout;
    middle->addWidget(grdSheets, 1);
    middle->addLayout(side);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lblCount, 1);
    bottom->addWidget(buttons);
    auto* all = new QVBoxLayout(this);
    all->addLayout(search);
    all->addLayout(middle, 1);
    all->addLayout(bottom);

    connect(edtSearch, &QLineEdit::textChanged, this, &TFrmSheetSelect::searchChanged);
    connect(grdSheets->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { currentChanged(); });
    connect(grdSheets, &QTableView::doubleClicked, this, [this] {
        if (selected())
            accept();
    });
    searchChanged(QString());
    edtSearch->setFocus();
}

void TFrmSheetSelect::searchChanged(const QString& text)
{
    static_cast<SheetFilter*>(m_proxy)->setSearch(text);
    lblCount->setText(QStringLiteral("%1 件中 %2 件").arg(m_products.size()).arg(shownCount()));
    // The best match is the current row, so that Enter takes it.
    if (shownCount() > 0)
        selectRow(0);
    currentChanged();
}

void TFrmSheetSelect::currentChanged()
{
    const Product* p = selected();
    imgSheet->setSheet(p ? &p->sheet : nullptr);
    lblSheet->setText(p ? p->name() + QLatin1Char('\n') + p->countText() + QLatin1Char('\n') + sheetText(p->sheet)
                        : QString());
    bbtnOk->setEnabled(p != nullptr);
}

int TFrmSheetSelect::shownCount() const
{
    return m_proxy->rowCount();
}

const Product* TFrmSheetSelect::shownProduct(int row) const
{
    const QModelIndex source = m_proxy->mapToSource(m_proxy->index(row, 0));
    return source.isValid() ? &m_products.at(source.row()) : nullptr;
}

const Product* TFrmSheetSelect::selected() const
{
    const QModelIndex current = grdSheets->currentIndex();
    return current.isValid() ? shownProduct(current.row()) : nullptr;
}

void TFrmSheetSelect::selectRow(int row)
{
    grdSheets->setCurrentIndex(m_proxy->index(row, 0));
    grdSheets->scrollTo(grdSheets->currentIndex());
}

// --- 用紙登録 ----------------------------------------------------------------------------------

TFrmSheetRegister::TFrmSheetRegister(const LabelSheet& sheet, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmSheetRegister"));
    setWindowTitle(QStringLiteral("用紙登録"));
    edtMaker = new QLineEdit(this);
    edtMaker->setObjectName(QStringLiteral("edtMaker"));
    edtPart = new QLineEdit(this);
    edtPart->setObjectName(QStringLiteral("edtPart"));
    edtDescription = new QLineEdit(this);
    edtDescription->setObjectName(QStringLiteral("edtDescription"));
    edtDescription->setText(QStringLiteral("宛名ラベル %1面").arg(sheet.columns * sheet.rows));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("メーカー"), edtMaker);
    form->addRow(QStringLiteral("品番"), edtPart);
    form->addRow(QStringLiteral("説明"), edtDescription);
    auto* values = new QLabel(sheetText(sheet), this);
    auto* note = new QLabel(QStringLiteral("今のラベル設定を、この名前の用紙として登録します。\n"
                                           "次からは「用紙選択…」で選べます（gLabels でも使えます）。"),
                            this);
    auto* buttons = new QDialogButtonBox(this);
    bbtnOk = buttons->addButton(QStringLiteral("登　録"), QDialogButtonBox::AcceptRole);
    bbtnOk->setObjectName(QStringLiteral("bbtnOk"));
    bbtnCancel = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    bbtnCancel->setObjectName(QStringLiteral("bbtnCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* all = new QVBoxLayout(this);
    all->addWidget(note);
    all->addLayout(form);
    all->addWidget(values);
    all->addWidget(buttons);
}

QString TFrmSheetRegister::maker() const
{
    return edtMaker->text().simplified();
}

QString TFrmSheetRegister::part() const
{
    return edtPart->text().simplified();
}

QString TFrmSheetRegister::description() const
{
    return edtDescription->text().simplified();
}

void TFrmSheetRegister::accept()
{
    if (maker().isEmpty() || part().isEmpty()) {
        Messages::current().warning(QStringLiteral("メーカーと品番を入力して下さい。"));
        (maker().isEmpty() ? edtMaker : edtPart)->setFocus();
        return;
    }
    QDialog::accept();
}
