#include "platform/ui/QtPrinterDialogs.h"

#include "platform/Messages.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

const QString kNoPrinter = QStringLiteral("プリンタがインストールされていません。");

QDialogButtonBox* okCancel(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

void fillPrinters(QComboBox* box, const PrinterChoice& choice)
{
    box->clear();
    for (const auto& p : choice.printers()) {
        box->addItem(p.second, p.first);
        if (p.first == choice.printerIndex())
            box->setCurrentIndex(box->count() - 1);
    }
}

void fillNumbered(QComboBox* box, const QVector<QPair<int, QString>>& items, int current)
{
    box->clear();
    for (const auto& item : items) {
        box->addItem(item.second, item.first);
        if (item.first == current)
            box->setCurrentIndex(box->count() - 1);
    }
    box->setEnabled(box->count() > 0);
}

QString paperSummary(const PrinterChoice& choice)
{
    QString paper;
    for (const auto& p : choice.papers()) {
        if (p.first == choice.paper())
            paper = p.second;
    }
    QString source;
    for (const auto& s : choice.sources()) {
        if (s.first == choice.source())
            source = s.second;
    }
    QString text = paper + QStringLiteral("　") +
        (choice.orientation() == 2 ? QStringLiteral("横") : QStringLiteral("縦"));
    if (!source.isEmpty())
        text += QStringLiteral("　") + source;
    return text;
}

} // namespace

bool QtPrinterDialogs::printerSetup(QWidget* owner)
{
    PrinterChoice choice;
    if (choice.isEmpty()) {
        Messages::current().warning(kNoPrinter);
        return false;
    }
    PrinterSetupDialog dialog(choice, owner);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dialog.choice().apply();
    return true;
}

bool QtPrinterDialogs::print(PrintRange& range, QWidget* owner)
{
    PrinterChoice choice;
    if (choice.isEmpty()) {
        Messages::current().warning(kNoPrinter);
        return false;
    }
    PrintDialog dialog(choice, range, owner);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dialog.choice().apply();
    range = dialog.range();
    return true;
}

PrinterSetupDialog::PrinterSetupDialog(const PrinterChoice& choice, QWidget* parent)
    : QDialog(parent), m_choice(choice)
{
    setWindowTitle(QStringLiteral("プリンタの設定"));
    setObjectName(QStringLiteral("PrinterSetupDialog"));

    auto* printerGroup = new QGroupBox(QStringLiteral("プリンタ"), this);
    auto* printerForm = new QFormLayout(printerGroup);
    m_printer = new QComboBox(printerGroup);
    m_printer->setObjectName(QStringLiteral("cmbPrinter"));
    m_printer->setMinimumWidth(280);
    m_info = new QLabel(printerGroup);
    printerForm->addRow(QStringLiteral("プリンタ名(&N):"), m_printer);
    printerForm->addRow(QStringLiteral("説明:"), m_info);

    auto* paperGroup = new QGroupBox(QStringLiteral("用紙"), this);
    auto* paperForm = new QFormLayout(paperGroup);
    m_paper = new QComboBox(paperGroup);
    m_paper->setObjectName(QStringLiteral("cmbPaper"));
    m_source = new QComboBox(paperGroup);
    m_source->setObjectName(QStringLiteral("cmbSource"));
    paperForm->addRow(QStringLiteral("サイズ(&Z):"), m_paper);
    paperForm->addRow(QStringLiteral("給紙方法(&S):"), m_source);

    auto* orientationGroup = new QGroupBox(QStringLiteral("印刷の向き"), this);
    auto* orientationLayout = new QVBoxLayout(orientationGroup);
    m_portrait = new QRadioButton(QStringLiteral("縦(&O)"), orientationGroup);
    m_portrait->setObjectName(QStringLiteral("rbPortrait"));
    m_landscape = new QRadioButton(QStringLiteral("横(&A)"), orientationGroup);
    m_landscape->setObjectName(QStringLiteral("rbLandscape"));
    orientationLayout->addWidget(m_portrait);
    orientationLayout->addWidget(m_landscape);

    auto* lower = new QHBoxLayout;
    lower->addWidget(paperGroup, 3);
    lower->addWidget(orientationGroup, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(printerGroup);
    layout->addLayout(lower);
    layout->addWidget(okCancel(this));

    fill();
    connect(m_printer, &QComboBox::currentIndexChanged, this, &PrinterSetupDialog::printerChosen);
    connect(m_paper, &QComboBox::currentIndexChanged, this, &PrinterSetupDialog::paperChosen);
    connect(m_source, &QComboBox::currentIndexChanged, this, &PrinterSetupDialog::sourceChosen);
    connect(m_portrait, &QRadioButton::toggled, this, &PrinterSetupDialog::orientationChosen);
}

void PrinterSetupDialog::fill()
{
    m_filling = true;
    fillPrinters(m_printer, m_choice);
    m_info->setText(m_choice.printerInfo());
    fillNumbered(m_paper, m_choice.papers(), m_choice.paper());
    fillNumbered(m_source, m_choice.sources(), m_choice.source());
    const bool landscape = m_choice.orientation() == 2;
    m_portrait->setChecked(!landscape);
    m_landscape->setChecked(landscape);
    m_filling = false;
}

void PrinterSetupDialog::printerChosen(int row)
{
    if (m_filling || row < 0)
        return;
    m_choice.setPrinterIndex(m_printer->itemData(row).toInt());
    fill();
}

void PrinterSetupDialog::paperChosen(int row)
{
    if (m_filling || row < 0)
        return;
    m_choice.setPaper(m_paper->itemData(row).toInt());
    fill();
}

void PrinterSetupDialog::sourceChosen(int row)
{
    if (m_filling || row < 0)
        return;
    m_choice.setSource(m_source->itemData(row).toInt());
    fill();
}

void PrinterSetupDialog::orientationChosen()
{
    if (m_filling)
        return;
    m_choice.setOrientation(m_portrait->isChecked() ? 1 : 2);
}

PrintDialog::PrintDialog(const PrinterChoice& choice, const PrintRange& range, QWidget* parent)
    : QDialog(parent), m_choice(choice), m_range(range)
{
    setWindowTitle(QStringLiteral("印刷"));
    setObjectName(QStringLiteral("PrintDialog"));

    auto* printerGroup = new QGroupBox(QStringLiteral("プリンタ"), this);
    auto* printerForm = new QFormLayout(printerGroup);
    auto* nameRow = new QHBoxLayout;
    m_printer = new QComboBox(printerGroup);
    m_printer->setObjectName(QStringLiteral("cmbPrinter"));
    m_printer->setMinimumWidth(280);
    m_properties = new QPushButton(QStringLiteral("プロパティ(&P)..."), printerGroup);
    m_properties->setObjectName(QStringLiteral("btnProperties"));
    nameRow->addWidget(m_printer, 1);
    nameRow->addWidget(m_properties);
    m_info = new QLabel(printerGroup);
    m_paperInfo = new QLabel(printerGroup);
    m_paperInfo->setObjectName(QStringLiteral("lblPaper"));
    auto* nameLabel = new QLabel(QStringLiteral("プリンタ名(&N):"), printerGroup);
    nameLabel->setBuddy(m_printer);
    printerForm->addRow(nameLabel, nameRow);
    printerForm->addRow(QStringLiteral("説明:"), m_info);
    printerForm->addRow(QStringLiteral("用紙:"), m_paperInfo);

    auto* rangeGroup = new QGroupBox(QStringLiteral("印刷範囲"), this);
    auto* rangeLayout = new QVBoxLayout(rangeGroup);
    m_all = new QRadioButton(QStringLiteral("すべて(&A)"), rangeGroup);
    m_all->setObjectName(QStringLiteral("rbAll"));
    m_pages = new QRadioButton(QStringLiteral("ページ指定(&G)"), rangeGroup);
    m_pages->setObjectName(QStringLiteral("rbPages"));
    auto* pagesRow = new QHBoxLayout;
    m_from = new QSpinBox(rangeGroup);
    m_from->setObjectName(QStringLiteral("spnFrom"));
    m_to = new QSpinBox(rangeGroup);
    m_to->setObjectName(QStringLiteral("spnTo"));
    const int lo = qMin(range.minPage, range.maxPage);
    const int hi = qMax(range.minPage, range.maxPage);
    for (QSpinBox* box : {m_from, m_to})
        box->setRange(lo, hi);
    m_from->setValue(range.fromPage);
    m_to->setValue(range.toPage);
    auto* fromLabel = new QLabel(QStringLiteral("開始(&F):"), rangeGroup);
    fromLabel->setBuddy(m_from);
    auto* toLabel = new QLabel(QStringLiteral("終了(&T):"), rangeGroup);
    toLabel->setBuddy(m_to);
    pagesRow->addSpacing(20);
    pagesRow->addWidget(fromLabel);
    pagesRow->addWidget(m_from);
    pagesRow->addWidget(toLabel);
    pagesRow->addWidget(m_to);
    pagesRow->addStretch(1);
    rangeLayout->addWidget(m_all);
    rangeLayout->addWidget(m_pages);
    rangeLayout->addLayout(pagesRow);
    auto* group = new QButtonGroup(this);
    group->addButton(m_all);
    group->addButton(m_pages);
    m_all->setChecked(range.allPages || !range.pageRangeEnabled);
    m_pages->setChecked(!m_all->isChecked());
    m_pages->setEnabled(range.pageRangeEnabled);
    rangeChosen();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(printerGroup);
    layout->addWidget(rangeGroup);
    layout->addWidget(okCancel(this));

    fill();
    connect(m_printer, &QComboBox::currentIndexChanged, this, &PrintDialog::printerChosen);
    connect(m_properties, &QPushButton::clicked, this, &PrintDialog::properties);
    connect(m_all, &QRadioButton::toggled, this, &PrintDialog::rangeChosen);
    // Typing a page number means a page range.
    for (QSpinBox* box : {m_from, m_to}) {
        connect(box, &QSpinBox::valueChanged, this, [this] {
            if (m_pages->isEnabled() && !m_pages->isChecked())
                m_pages->setChecked(true);
        });
    }
}

void PrintDialog::fill()
{
    const QSignalBlocker block(m_printer);
    fillPrinters(m_printer, m_choice);
    m_info->setText(m_choice.printerInfo());
    m_paperInfo->setText(paperSummary(m_choice));
}

void PrintDialog::printerChosen(int row)
{
    if (row < 0)
        return;
    m_choice.setPrinterIndex(m_printer->itemData(row).toInt());
    fill();
}

void PrintDialog::properties()
{
    PrinterSetupDialog setup(m_choice, this);
    if (setup.exec() == QDialog::Accepted) {
        m_choice = setup.choice();
        fill();
    }
}

void PrintDialog::rangeChosen()
{
    const bool pages = m_pages->isChecked();
    m_from->setEnabled(pages);
    m_to->setEnabled(pages);
}

PrintRange PrintDialog::range() const
{
    PrintRange r = m_range;
    r.allPages = m_all->isChecked();
    if (!r.allPages) {
        r.fromPage = m_from->value();
        r.toPage = m_to->value();
    }
    return r;
}
