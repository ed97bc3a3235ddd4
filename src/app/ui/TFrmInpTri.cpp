#include "app/ui/TFrmInpTri.h"

#include "app/AppSettings.h"
#include "app/CsvSource.h"
#include "app/RecordChoice.h"
#include "app/ui/TFrmBase1.h"
#include "controls/Glyphs.h"
#include "controls/TShineBtn.h"
#include "platform/AppPaths.h"
#include "platform/Messages.h"
#include "platform/ui/HelpWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabWidget>

#include <algorithm>

namespace {

constexpr int kClientWidth = 426;
constexpr int kClientHeight = 368;
// How many records of a list are looked at for a quoted comma.
constexpr int kRecordsLookedAt = 20;

const QString kNoColumn = QStringLiteral("対象項目無し");

QLabel* captionCell(QWidget* parent, const QString& text, const QRect& r)
{
    auto* cell = new QLabel(text, parent);
    cell->setGeometry(r);
    cell->setAlignment(Qt::AlignCenter);
    cell->setAutoFillBackground(true);
    QPalette pal = cell->palette();
    pal.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    pal.setColor(QPalette::WindowText, Qt::white);
    cell->setPalette(pal);
    return cell;
}

// Delphi's Trim: blanks and control characters at both ends.
bool isBlankLine(const QString& line)
{
    for (QChar c : line) {
        if (c.unicode() > 0x20)
            return false;
    }
    return true;
}

QString displayName(const QString& name)
{
    if (name.size() <= TFrmInpTri::kMaxEntryChars)
        return name;
    return name.left(TFrmInpTri::kMaxEntryChars - 1) + QChar(0x2026);
}

} // namespace

TFrmInpTri::TFrmInpTri(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmInpTri"));
    setWindowTitle(QStringLiteral("Tovalin初期設定"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    setFont(TFrmBase1::formFont());

    auto* lbl1 = new QLabel(QStringLiteral("宛名印刷用ＣＳＶファイルを指定して下さい。"), this);
    lbl1->setObjectName(QStringLiteral("Label1"));
    lbl1->setGeometry(12, 10, 360, 16);

    ssbHelp = new TShineBtn(this);
    ssbHelp->setObjectName(QStringLiteral("ssbHelp"));
    ssbHelp->setGlyph(Glyphs::get(QStringLiteral("help")));
    ssbHelp->setGeometry(kClientWidth - 36, 4, 28, 28);
    TFrmBase1::setHint(ssbHelp, QStringLiteral("ヘルプ|ヘルプを表示します。"));
    connect(ssbHelp, &TShineBtn::clicked, this, &TFrmInpTri::ssbHelpClick);

    ssbCsvOpen = new TShineBtn(this);
    ssbCsvOpen->setObjectName(QStringLiteral("ssbCsvOpen"));
    ssbCsvOpen->setGlyph(Glyphs::get(QStringLiteral("open")));
    ssbCsvOpen->setGeometry(12, 30, 28, 26);
    TFrmBase1::setHint(ssbCsvOpen, QStringLiteral("ＣＳＶファイル指定|宛名印刷用ＣＳＶファイルを指定します。"));
    connect(ssbCsvOpen, &TShineBtn::clicked, this, &TFrmInpTri::ssbCsvOpenClick);

    edtCsvPath = new QLineEdit(this);
    edtCsvPath->setObjectName(QStringLiteral("edtCsvPath"));
    edtCsvPath->setReadOnly(true);
    edtCsvPath->setGeometry(44, 32, kClientWidth - 56, 22);

    // Two pages: which field feeds which item, and how the file is read.
    pgcTri = new QTabWidget(this);
    pgcTri->setObjectName(QStringLiteral("pgcTri"));
    pgcTri->setGeometry(12, 62, kClientWidth - 24, 262);
    auto* tabItems = new QWidget;
    tabItems->setObjectName(QStringLiteral("tabItems"));
    pgcTri->addTab(tabItems, QStringLiteral("宛名項目"));
    auto* tabJoint = new QWidget;
    tabJoint->setObjectName(QStringLiteral("tabJoint"));
    pgcTri->addTab(tabJoint, QStringLiteral("連名"));
    auto* tabFormat = new QWidget;
    tabFormat->setObjectName(QStringLiteral("tabFormat"));
    pgcTri->addTab(tabFormat, QStringLiteral("ファイル形式"));
    auto* tabSel = new QWidget;
    tabSel->setObjectName(QStringLiteral("tabSel"));
    pgcTri->addTab(tabSel, QStringLiteral("印刷対象"));

    auto* lbl2 = new QLabel(QStringLiteral("CSVの各項目を下記のどの項目とするかを設定します。"), tabItems);
    lbl2->setObjectName(QStringLiteral("Label2"));
    lbl2->setGeometry(8, 6, 380, 16);
    auto* lbl3 = new QLabel(QStringLiteral("CSV側に対象項目がない場合「対象項目無し」を選択して下さい。"), tabItems);
    lbl3->setObjectName(QStringLiteral("Label3"));
    lbl3->setGeometry(8, 22, 380, 16);

    auto* pnlTri = new QFrame(tabItems);
    pnlTri->setObjectName(QStringLiteral("pnlTri"));
    pnlTri->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pnlTri->setGeometry(8, 42, 262, 188);
    const struct {
        const char16_t* caption;
        const char* name;
        QComboBox** box;
    } rows[] = {
        { u"郵便番号", "cmbTriPost", &cmbTriPost },
        { u"住  所  １", "cmbTriAdr1", &cmbTriAdr1 },
        { u"住  所  ２", "cmbTriAdr2", &cmbTriAdr2 },
        { u"名  称  １", "cmbTriName1", &cmbTriName1 },
        { u"名  称  ２", "cmbTriName2", &cmbTriName2 },
        { u"Cﾊﾞｰｺｰﾄﾞ", "cmbTriCBar", &cmbTriCBar },
        { u"敬    称", "cmbTriKeisho", &cmbTriKeisho },
    };
    // A caption cell and its mapping box, one row of a panel.
    auto mappingRow = [](QWidget* panel, int y, const QString& caption, const QString& name) {
        captionCell(panel, caption, QRect(6, y, 84, 22));
        auto* box = new QComboBox(panel);
        box->setObjectName(name);
        box->setEditable(false);
        box->setGeometry(94, y, 160, 22);
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(10);
        box->setMaxVisibleItems(20);
        return box;
    };
    int y = 6;
    for (const auto& r : rows) {
        *r.box = mappingRow(pnlTri, y, QString::fromUtf16(r.caption), QLatin1String(r.name));
        y += 25;
    }

    auto* lblRen1 = new QLabel(QStringLiteral("家族の連名にするCSVの項目と、その敬称の項目を設定します。"), tabJoint);
    lblRen1->setObjectName(QStringLiteral("lblRen1"));
    lblRen1->setGeometry(8, 6, 380, 16);
    auto* lblRen2 = new QLabel(QStringLiteral("敬称の項目が無い（空の）連名には名称の敬称が付きます。"), tabJoint);
    lblRen2->setObjectName(QStringLiteral("lblRen2"));
    lblRen2->setGeometry(8, 22, 380, 16);
    auto* pnlRen = new QFrame(tabJoint);
    pnlRen->setObjectName(QStringLiteral("pnlRen"));
    pnlRen->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pnlRen->setGeometry(8, 42, 262, 170);
    y = 6;
    for (int i = 0; i < kJointNameColumns; ++i) {
        const QString digit(QChar(0xFF11 + i)); // full-width 1, 2, 3
        cmbTriRen[i] = mappingRow(pnlRen, y, QStringLiteral("連名") + digit, QStringLiteral("cmbTriRen%1").arg(i + 1));
        cmbTriRenKeisho[i] = mappingRow(pnlRen, y + 25, QStringLiteral("連名%1敬称").arg(digit),
                                        QStringLiteral("cmbTriRen%1Keisho").arg(i + 1));
        y += 2 * 25 + 4;
    }

    auto* pnlText = new QFrame(tabFormat);
    pnlText->setObjectName(QStringLiteral("pnlText"));
    pnlText->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pnlText->setGeometry(8, 8, 380, 216);
    auto* lblCsvCode = new QLabel(QStringLiteral("文字コード"), pnlText);
    lblCsvCode->setObjectName(QStringLiteral("lblCsvCode"));
    lblCsvCode->setGeometry(10, 14, 110, 16);
    cmbCsvCode = new QComboBox(pnlText);
    cmbCsvCode->setObjectName(QStringLiteral("cmbCsvCode"));
    cmbCsvCode->setGeometry(124, 10, 110, 22);
    // In the order of the stored values (CSVCODE 0, 1, 2).
    cmbCsvCode->addItems({ QStringLiteral("自動判定"), QStringLiteral("Shift-JIS"), QStringLiteral("UTF-8") });
    TFrmBase1::setHint(cmbCsvCode, QStringLiteral("文字コード|CSVファイルの文字コードです。自動判定では内容から判定します。"));
    lblCsvCodeFound = new QLabel(pnlText);
    lblCsvCodeFound->setObjectName(QStringLiteral("lblCsvCodeFound"));
    lblCsvCodeFound->setGeometry(242, 14, 130, 16);

    auto* lblText = new QLabel(QStringLiteral("テキスト区切記号"), pnlText);
    lblText->setObjectName(QStringLiteral("lblText"));
    lblText->setGeometry(10, 52, 110, 16);
    cmbText = new QComboBox(pnlText);
    cmbText->setObjectName(QStringLiteral("cmbText"));
    cmbText->setEditable(true);
    cmbText->setInsertPolicy(QComboBox::NoInsert);
    cmbText->setGeometry(124, 48, 110, 22);
    cmbText->addItems({ QString(), QStringLiteral("\""), QStringLiteral("'") });

    cbQuote = new QCheckBox(QStringLiteral("引用符内のカンマを区切りとしない"), pnlText);
    cbQuote->setObjectName(QStringLiteral("cbQuote"));
    cbQuote->setGeometry(10, 88, 360, 20);
    TFrmBase1::setHint(cbQuote, QStringLiteral("引用符内のカンマを区切りとしない|テキスト区切記号（無い時は \"）で囲まれた項目の中のカンマ、改行、二重の区切記号を項目の一部として読みます。"));
    auto* lblQuote = new QLabel(QStringLiteral("囲まれた項目の中のカンマや改行も項目の一部になります。"), pnlText);
    lblQuote->setObjectName(QStringLiteral("lblQuote"));
    lblQuote->setGeometry(30, 110, 340, 16);

    cbHead = new QCheckBox(QStringLiteral("ヘッダー有り"), pnlText);
    cbHead->setObjectName(QStringLiteral("cbHead"));
    cbHead->setGeometry(10, 142, 200, 20);

    // The selection column: a column many address books keep (喪中, 転居, 送付) decides which
    // records are printed unless a print run says otherwise.
    auto* lblSel = new QLabel(QStringLiteral("CSVの列の印で、印刷する宛名を決めることができます。\n"
                                             "（喪中や転居の列など。使わない時は「対象項目無し」）"),
                              tabSel);
    lblSel->setObjectName(QStringLiteral("lblSel"));
    lblSel->setGeometry(8, 6, 380, 34);
    auto* pnlSel = new QFrame(tabSel);
    pnlSel->setObjectName(QStringLiteral("pnlSel"));
    pnlSel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pnlSel->setGeometry(8, 44, 380, 172);
    captionCell(pnlSel, QStringLiteral("印刷対象"), QRect(6, 6, 84, 22));
    cmbTriSel = new QComboBox(pnlSel);
    cmbTriSel->setObjectName(QStringLiteral("cmbTriSel"));
    cmbTriSel->setGeometry(94, 6, 160, 22);
    cmbTriSel->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cmbTriSel->setMinimumContentsLength(10);
    cmbTriSel->setMaxVisibleItems(20);
    TFrmBase1::setHint(cmbTriSel, QStringLiteral("印刷対象|印刷する宛名、または除外する宛名に印を付けた列です。"));
    rbSelPrint = new QRadioButton(QStringLiteral("印刷する宛名"), pnlSel);
    rbSelPrint->setObjectName(QStringLiteral("rbSelPrint"));
    rbSelPrint->setGeometry(94, 36, 270, 20);
    rbSelPrint->setChecked(true);
    TFrmBase1::setHint(rbSelPrint, QStringLiteral("印刷する宛名|この列に印がある宛名だけを印刷します。"));
    rbSelSkip = new QRadioButton(QStringLiteral("除外する宛名"), pnlSel);
    rbSelSkip->setObjectName(QStringLiteral("rbSelSkip"));
    rbSelSkip->setGeometry(94, 58, 270, 20);
    TFrmBase1::setHint(rbSelSkip, QStringLiteral("除外する宛名|この列に印がある宛名を印刷しません（喪中など）。"));
    auto* lblMarks = new QLabel(QStringLiteral("空欄、0、×、x、無、いいえ、no、false は印なし、\n"
                                               "それ以外（1、○、喪中 など）は印ありです。"),
                                pnlSel);
    lblMarks->setObjectName(QStringLiteral("lblMarks"));
    lblMarks->setGeometry(10, 88, 360, 34);
    lblSelCount = new QLabel(pnlSel);
    lblSelCount->setObjectName(QStringLiteral("lblSelCount"));
    lblSelCount->setGeometry(10, 130, 360, 40);
    lblSelCount->setWordWrap(true);
    connect(cmbTriSel, &QComboBox::currentIndexChanged, this, [this] { showSelectionCount(); });
    connect(rbSelPrint, &QRadioButton::toggled, this, [this] { showSelectionCount(); });
    connect(cbHead, &QCheckBox::toggled, this, [this] { showSelectionCount(); });
    connect(cmbText, &QComboBox::editTextChanged, this, [this] { showSelectionCount(); });

    connect(cmbCsvCode, &QComboBox::currentIndexChanged, this, [this] { readFormatAgain(); });
    connect(cbQuote, &QCheckBox::toggled, this, [this] { readFormatAgain(); });

    bbtnUpdate = new QPushButton(QStringLiteral("　更　新"), this);
    bbtnUpdate->setObjectName(QStringLiteral("bbtnUpdate"));
    bbtnUpdate->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    bbtnUpdate->setGeometry(kClientWidth - 12 - 2 * 132 - 6, kClientHeight - 38, 132, 28);
    connect(bbtnUpdate, &QPushButton::clicked, this, &TFrmInpTri::bbtnUpdateClick);
    bbtnEnd = new QPushButton(QStringLiteral("キャンセル"), this);
    bbtnEnd->setObjectName(QStringLiteral("bbtnEnd"));
    bbtnEnd->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    bbtnEnd->setGeometry(kClientWidth - 12 - 132, kClientHeight - 38, 132, 28);
    connect(bbtnEnd, &QPushButton::clicked, this, &TFrmInpTri::bbtnEndClick);
    // Enter must not press a button by itself.
    bbtnUpdate->setAutoDefault(false);
    bbtnEnd->setAutoDefault(false);

    m_opdCsv.title = QStringLiteral("宛名印刷用ＣＳＶ指定");
    m_opdCsv.filter = QStringLiteral("宛名印刷用ＣＳＶ (*.csv)|*.csv");
    m_opdCsv.mustExist = true;
    m_opdCsv.hideReadOnly = true;
    m_opdCsv.resizable = true;
}

QList<QComboBox*> TFrmInpTri::mappingBoxes() const
{
    QList<QComboBox*> boxes { cmbTriPost, cmbTriAdr1, cmbTriAdr2, cmbTriName1, cmbTriName2, cmbTriCBar, cmbTriKeisho };
    for (int i = 0; i < kJointNameColumns; ++i)
        boxes << cmbTriRen[i] << cmbTriRenKeisho[i];
    return boxes;
}

QList<QComboBox*> TFrmInpTri::columnBoxes() const
{
    return mappingBoxes() << cmbTriSel;
}

void TFrmInpTri::showSelectionCount()
{
    const bool mapped = cmbTriSel->currentIndex() >= 1;
    rbSelPrint->setEnabled(mapped);
    rbSelSkip->setEnabled(mapped);
    if (!mapped || m_lines.isEmpty()) {
        lblSelCount->setText(mapped ? QString() : QStringLiteral("すべての宛名を印刷します。"));
        return;
    }
    CsvColumnMap map;
    map.textDelimiter = cmbText->currentText();
    map.quoted = cbQuote->isChecked();
    map.selNo = cmbTriSel->currentIndex();
    map.selMode = rbSelSkip->isChecked() ? 1 : 0;
    const QStringList records = CsvRecordLines(m_lines, cbHead->isChecked());
    const int n = int(records.size());
    const int chosen = ChoiceByColumn(records, map).count(n);
    lblSelCount->setText(SelectionColumnMissing(records, map)
                             ? QStringLiteral("この列はどの宛名にもありません。")
                             : QStringLiteral("宛名 %1 件のうち %2 件を印刷します。").arg(n).arg(chosen));
}

void TFrmInpTri::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_shown && !event->spontaneous()) {
        m_shown = true;
        FormShow();
    }
}

void TFrmInpTri::FormShow()
{
    m_lines.clear();
    const CsvColumnMap& csv = AppSettings::instance().csv;
    {
        const QSignalBlocker blockCode(cmbCsvCode);
        const QSignalBlocker blockQuote(cbQuote);
        cmbCsvCode->setCurrentIndex(int(csv.encoding));
        cbQuote->setChecked(csv.quoted);
    }
    lblCsvCodeFound->clear();
    if (!csv.fileName.isEmpty() && QFileInfo(csv.fileName).isFile()) {
        m_opdCsv.fileName = csv.fileName;
        edtCsvPath->setText(csv.fileName);
        loadFile();
        QList<int> saved { csv.postNo, csv.adr1No, csv.adr2No, csv.mei1No, csv.mei2No, csv.cbarNo, csv.keisNo };
        // A joint name never set is none (対象項目無し).
        for (int i = 0; i < kJointNameColumns; ++i)
            saved << qMax(csv.renNo[i], 0) << qMax(csv.renKeisNo[i], 0);
        saved << std::max(csv.selNo, 0);
        const QList<QComboBox*> boxes = columnBoxes();
        for (int i = 0; i < boxes.size(); ++i) {
            QComboBox* box = boxes.at(i);
            box->setCurrentIndex(saved[i] >= 0 && saved[i] < box->count() ? saved[i] : -1);
        }
        cbHead->setChecked(csv.hasHeader);
        cmbText->setEditText(csv.textDelimiter);
        (csv.selMode == 1 ? rbSelSkip : rbSelPrint)->setChecked(true);
    } else {
        m_opdCsv.initialDir = AppPaths::programDirectory();
        m_opdCsv.fileName.clear();
        edtCsvPath->clear();
        for (QComboBox* box : columnBoxes())
            box->clear();
        cmbText->clear();
        cmbText->clearEditText();
    }
    showSelectionCount();
    bbtnEnd->setFocus();
}

CsvFormat TFrmInpTri::chosenFormat() const
{
    // The first line names the columns with the saved delimiter, as it always has.
    CsvFormat format;
    format.encoding = CsvEncoding(cmbCsvCode->currentIndex());
    format.quoted = cbQuote->isChecked();
    format.textDelimiter = AppSettings::instance().csv.textDelimiter;
    return format;
}

bool TFrmInpTri::readFile()
{
    CsvReadInfo info;
    const CsvFormat format = chosenFormat();
    m_lines = ReadCsvLines(m_opdCsv.fileName, format, &info);
    lblCsvCodeFound->clear();
    if (info.status == CsvReadInfo::Unreadable || info.status == CsvReadInfo::TooLarge) {
        Messages::current().warning(Messages::twoLines(QStringLiteral("CSVファイルを読み込めません。"),
                                                       QStringLiteral("ファイルを確認して下さい。")));
        edtCsvPath->clear();
        m_opdCsv.fileName.clear();
        return false;
    }
    if (m_lines.isEmpty() || isBlankLine(m_lines.first())) {
        Messages::current().warning(QStringLiteral("空データです。"));
        edtCsvPath->clear();
        m_opdCsv.fileName.clear();
        return false;
    }
    if (format.encoding == CsvEncoding::Auto)
        lblCsvCodeFound->setText(info.encoding == CsvEncoding::Utf8 ? QStringLiteral("（UTF-8 と判定）")
                                                                     : QStringLiteral("（Shift-JIS と判定）"));

    // The first record names the columns, header or not.
    const QStringList names = CsvFields(m_lines.first(), format);
    QStringList entries;
    entries.reserve(names.size() + 1);
    entries << kNoColumn;
    for (const QString& n : names)
        entries << displayName(n);
    for (QComboBox* box : columnBoxes()) {
        box->clear();
        box->addItems(entries);
        box->setCurrentIndex(0);
    }
    return true;
}

void TFrmInpTri::loadFile()
{
    if (!readFile())
        return;
    cmbText->clear();
    cmbText->addItems({ QString(), QStringLiteral("\""), QStringLiteral("'") });
    cmbText->setCurrentIndex(-1);
    cmbText->clearEditText();
    offerQuoting();
}

void TFrmInpTri::readFormatAgain()
{
    if (m_opdCsv.fileName.isEmpty() || m_lines.isEmpty())
        return;
    QList<int> chosen;
    for (QComboBox* box : columnBoxes())
        chosen << box->currentIndex();
    if (!readFile())
        return;
    const QList<QComboBox*> boxes = columnBoxes();
    for (int i = 0; i < boxes.size(); ++i)
        boxes.at(i)->setCurrentIndex(chosen.at(i) < boxes.at(i)->count() ? chosen.at(i) : -1);
}

void TFrmInpTri::offerQuoting()
{
    if (cbQuote->isChecked())
        return;
    // Once per list in a run of the program: a user who said no is not asked again.
    static QSet<QString> offered;
    const QString list = QFileInfo(m_opdCsv.fileName).absoluteFilePath();
    if (offered.contains(list))
        return;
    CsvFormat quoted = chosenFormat();
    quoted.quoted = true;
    bool found = false;
    for (int i = 0; i < m_lines.size() && i < kRecordsLookedAt && !found; ++i) {
        // With quoting on, a field can hold a comma only inside quotes.
        for (const QString& field : CsvFields(m_lines.at(i), quoted))
            found = found || field.contains(u',');
    }
    if (!found)
        return;
    offered.insert(list);
    if (Messages::current().askYesNo(
            Messages::twoLines(QStringLiteral("引用符で囲まれた項目の中にカンマがあります。"),
                               QStringLiteral("「引用符内のカンマを区切りとしない」をオンにしますか？"))))
        cbQuote->setChecked(true);
}

void TFrmInpTri::ssbCsvOpenClick()
{
    const QString path = CommonDialogs::current().openFile(m_opdCsv, this);
    if (path.isEmpty())
        return;
    edtCsvPath->setText(path);
    m_opdCsv.fileName = path;
    loadFile();
}

void TFrmInpTri::bbtnUpdateClick()
{
    if (m_opdCsv.fileName.trimmed().isEmpty()) {
        Messages::current().warning(QStringLiteral("CSVファイルが指定されていません。"));
        return;
    }
    if (!Messages::current().askYesNo(
            Messages::twoLines(QStringLiteral("設定更新します。"), QStringLiteral("よろしいですか？"))))
        return;

    QApplication::setOverrideCursor(Qt::WaitCursor);
    CsvColumnMap& csv = AppSettings::instance().csv;
    csv.fileName = m_opdCsv.fileName;
    csv.postNo = cmbTriPost->currentIndex();
    csv.adr1No = cmbTriAdr1->currentIndex();
    csv.adr2No = cmbTriAdr2->currentIndex();
    csv.mei1No = cmbTriName1->currentIndex();
    csv.mei2No = cmbTriName2->currentIndex();
    csv.cbarNo = cmbTriCBar->currentIndex();
    csv.keisNo = cmbTriKeisho->currentIndex();
    // 対象項目無し is none: the keys stay out of the file.
    auto jointColumn = [](const QComboBox* box) { return box->currentIndex() > 0 ? box->currentIndex() : -1; };
    for (int i = 0; i < kJointNameColumns; ++i) {
        csv.renNo[i] = jointColumn(cmbTriRen[i]);
        csv.renKeisNo[i] = jointColumn(cmbTriRenKeisho[i]);
    }
    csv.hasHeader = cbHead->isChecked();
    csv.textDelimiter = cmbText->currentText();
    csv.encoding = CsvEncoding(cmbCsvCode->currentIndex());
    csv.quoted = cbQuote->isChecked();
    csv.selNo = cmbTriSel->currentIndex() >= 1 ? cmbTriSel->currentIndex() : -1;
    csv.selMode = csv.selNo > 0 && rbSelSkip->isChecked() ? 1 : 0;
    const bool ok = SaveCsvSettings();
    QApplication::restoreOverrideCursor();

    if (ok)
        Messages::current().information(QStringLiteral("更新終了しました。"));
    else
        Messages::current().warning(Messages::twoLines(QStringLiteral("更新に失敗しました。"),
                                                       QStringLiteral("ファイル確認後再処理して下さい。")));
    accept();
}

void TFrmInpTri::bbtnEndClick()
{
    reject();
}

void TFrmInpTri::ssbHelpClick()
{
    HelpWindow::showHelp(18, this);
}
