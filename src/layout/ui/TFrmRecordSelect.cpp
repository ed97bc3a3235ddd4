#include "layout/ui/TFrmRecordSelect.h"

#include "app/ui/TFrmBase1.h"
#include "layout/RecordListModel.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// A search longer than any record is no use; the box stops there.
constexpr int kMaxSearch = 200;
constexpr int kMaxRange = 1000;

QPushButton* button(QWidget* parent, const char* name, const QString& caption, const QString& hint)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    TFrmBase1::setHint(b, hint);
    return b;
}

} // namespace

TFrmRecordSelect::TFrmRecordSelect(const QStringList& records, const CsvColumnMap& columns,
                                   const RecordChoice& choice, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmRecordSelect"));
    setWindowTitle(QStringLiteral("宛名選択"));
    resize(720, 520);

    m_model = new RecordListModel(records, columns, choice, this);

    edtSearch = new QLineEdit(this);
    edtSearch->setObjectName(QStringLiteral("edtSearch"));
    edtSearch->setPlaceholderText(QStringLiteral("名前、住所、郵便番号など、どの項目の文字でも探せます"));
    edtSearch->setClearButtonEnabled(true);
    edtSearch->setMaxLength(kMaxSearch);

    grdRecords = new QTableView(this);
    grdRecords->setObjectName(QStringLiteral("grdRecords"));
    grdRecords->setModel(m_model);
    grdRecords->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdRecords->setSelectionMode(QAbstractItemView::SingleSelection);
    grdRecords->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdRecords->setWordWrap(false);
    grdRecords->verticalHeader()->hide();
    // Fixed row heights: the view never measures 100,000 rows.
    grdRecords->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdRecords->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    grdRecords->horizontalHeader()->setStretchLastSection(true);
    grdRecords->setColumnWidth(RecordListModel::Number, 80);
    grdRecords->setColumnWidth(RecordListModel::PostalCode, 80);
    grdRecords->setColumnWidth(RecordListModel::Name1, 130);
    grdRecords->setColumnWidth(RecordListModel::Name2, 130);

    bbtnAll = button(this, "bbtnAll", QStringLiteral("全選択"), QStringLiteral("全選択|表示している宛名をすべて印刷する宛名にします。"));
    bbtnNone = button(this, "bbtnNone", QStringLiteral("全解除"), QStringLiteral("全解除|表示している宛名をすべて印刷しない宛名にします。"));
    bbtnInvert = button(this, "bbtnInvert", QStringLiteral("反転"), QStringLiteral("反転|表示している宛名の選択を入れ替えます。"));
    lblShown = new QLabel(this);
    lblShown->setObjectName(QStringLiteral("lblShown"));

    edtRange = new QLineEdit(this);
    edtRange->setObjectName(QStringLiteral("edtRange"));
    edtRange->setPlaceholderText(QStringLiteral("例: 1-36, 40, 45-"));
    edtRange->setMaxLength(kMaxRange);
    TFrmBase1::setHint(edtRange, QStringLiteral("範囲指定|番号（1から）で指定し、Enter で選択をその宛名だけにします。45- は 45 件目から最後までです。"));
    lblRange = new QLabel(this);
    lblRange->setObjectName(QStringLiteral("lblRange"));
    lblRange->setWordWrap(true);

    lblCount = new QLabel(this);
    lblCount->setObjectName(QStringLiteral("lblCount"));
    QFont bold = lblCount->font();
    bold.setBold(true);
    lblCount->setFont(bold);

    auto* buttons = new QDialogButtonBox(this);
    bbtnOk = buttons->addButton(QStringLiteral("ＯＫ"), QDialogButtonBox::AcceptRole);
    bbtnOk->setObjectName(QStringLiteral("bbtnOk"));
    bbtnCancel = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    bbtnCancel->setObjectName(QStringLiteral("bbtnCancel"));
    bbtnOk->setAutoDefault(false);
    bbtnCancel->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* search = new QHBoxLayout;
    search->addWidget(new QLabel(QStringLiteral("検索"), this));
    search->addWidget(edtSearch, 1);
    auto* marks = new QHBoxLayout;
    marks->addWidget(bbtnAll);
    marks->addWidget(bbtnNone);
    marks->addWidget(bbtnInvert);
    marks->addWidget(lblShown, 1);
    auto* range = new QHBoxLayout;
    range->addWidget(new QLabel(QStringLiteral("範囲指定"), this));
    range->addWidget(edtRange, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lblCount, 1);
    bottom->addWidget(buttons);
    auto* all = new QVBoxLayout(this);
    all->addLayout(search);
    all->addWidget(grdRecords, 1);
    all->addLayout(marks);
    all->addLayout(range);
    all->addWidget(lblRange);
    all->addLayout(bottom);

    connect(edtSearch, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_model->setFilter(text);
        showCounts();
    });
    connect(bbtnAll, &QPushButton::clicked, this, [this] { m_model->setShownChosen(true); });
    connect(bbtnNone, &QPushButton::clicked, this, [this] { m_model->setShownChosen(false); });
    connect(bbtnInvert, &QPushButton::clicked, this, [this] { m_model->invertShown(); });
    connect(m_model, &RecordListModel::chosenCountChanged, this, [this] { showCounts(); });
    // A click on a row's text, or the space bar, turns its tick (the check box turns itself).
    connect(grdRecords, &QTableView::clicked, this, [this](const QModelIndex& index) {
        if (index.column() != RecordListModel::Number)
            toggleRow(index.row());
    });
    grdRecords->installEventFilter(this);
    // Enter applies the range field and stays in the search box; it never closes the dialog,
    // which a user typing "5-8" and Enter would not expect.
    edtRange->installEventFilter(this);
    edtSearch->installEventFilter(this);

    showCounts();
    edtSearch->setFocus();
}

RecordChoice TFrmRecordSelect::choice() const
{
    return m_model->choice();
}

void TFrmRecordSelect::applyRange()
{
    const RecordRanges ranges = RecordRanges::parse(edtRange->text());
    if (!ranges.ok) {
        lblRange->setStyleSheet(QStringLiteral("color: #c00000;"));
        lblRange->setText(ranges.error);
        return;
    }
    QString note;
    const RecordChoice chosen = ranges.choose(m_model->recordCount(), &note);
    m_model->setChoice(chosen);
    lblRange->setStyleSheet(QString());
    lblRange->setText(note);
}

bool TFrmRecordSelect::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (watched == grdRecords && key == Qt::Key_Space) {
        if (grdRecords->currentIndex().isValid())
            toggleRow(grdRecords->currentIndex().row());
        return true;
    }
    if (watched == edtRange && enter) {
        applyRange();
        return true;
    }
    if (watched == edtSearch && enter)
        return true;
    return QDialog::eventFilter(watched, event);
}

void TFrmRecordSelect::toggleRow(int row)
{
    const QModelIndex tick = m_model->index(row, RecordListModel::Number);
    m_model->setData(tick, m_model->isChosen(m_model->recordAt(row)) ? Qt::Unchecked : Qt::Checked,
                     Qt::CheckStateRole);
}

void TFrmRecordSelect::showCounts()
{
    const int n = m_model->recordCount();
    lblCount->setText(QStringLiteral("%1 / %2 件選択").arg(m_model->chosenCount()).arg(n));
    lblShown->setText(m_model->filter().isEmpty() ? QStringLiteral("全 %1 件を表示").arg(n)
                                                   : QStringLiteral("%1 件を表示").arg(m_model->shownCount()));
    const bool any = m_model->shownCount() > 0;
    bbtnAll->setEnabled(any);
    bbtnNone->setEnabled(any);
    bbtnInvert->setEnabled(any);
}
