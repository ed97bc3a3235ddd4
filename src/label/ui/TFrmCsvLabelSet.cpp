#include "label/ui/TFrmCsvLabelSet.h"

#include "app/AppSettings.h"
#include "controls/Hint.h"
#include "controls/TNumberEdit.h"
#include "controls/TShineBtn.h"
#include "controls/TUpDown.h"
#include "label/LabelRun.h"
#include "label/LabelTemplates.h"
#include "label/ui/TFrmSheetSelect.h"
#include "layout/ui/TImageEL.h"
#include "layout/ui/TPaintBoxEL.h"
#include "platform/Messages.h"
#include "platform/OverrideCursor.h"
#include "preview/TplPrev.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

#include <memory>

namespace {

TLayoutEditForm::Params labelParams()
{
    TLayoutEditForm::Params p;
    p.kind = LayoutKind::Label;
    p.caption = QStringLiteral("A4ラベル宛名印刷");
    p.statusLabel = QStringLiteral("宛名印刷");
    p.clientSize = QSize(700, 640);
    p.fontSizes = {QStringLiteral("6"),  QStringLiteral("7"),  QStringLiteral("8"),  QStringLiteral("9"),
                   QStringLiteral("10"), QStringLiteral("11"), QStringLiteral("12"), QStringLiteral("14"),
                   QStringLiteral("16"), QStringLiteral("18"), QStringLiteral("20"), QStringLiteral("22"),
                   QStringLiteral("24"), QStringLiteral("26"), QStringLiteral("28"), QStringLiteral("36"),
                   QStringLiteral("40")};
    p.helpContext = 24;
    p.printerComponent = LabelRun::componentName();
    p.printerHint = QStringLiteral("プリンタ設定|用紙、印刷品質等を設定します。用紙はＡ４を選択して下さい。");
    return p;
}

QLabel* caption(QWidget* parent, const QString& text, const QRect& geometry, Qt::Alignment align = Qt::AlignLeft)
{
    auto* l = new QLabel(text, parent);
    l->setGeometry(geometry);
    l->setAlignment(align | Qt::AlignVCenter);
    return l;
}

// A read-only number: counts whole and centred, lengths in millimetres with one decimal.
TNumberEdit* numberReadOut(QWidget* parent, const QString& name, bool millimetres, const QString& hint)
{
    auto* e = new TNumberEdit(parent);
    e->setObjectName(name);
    e->setFigure(millimetres ? 1 : 0);
    e->setFixed(millimetres);
    e->setZeroVisible(true);
    e->setValidMinus(true);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    e->setAlignment(millimetres ? Qt::AlignRight : Qt::AlignCenter);
    ::setHint(e, hint);
    return e;
}

TUpDown* upDownFor(QWidget* parent, const QString& name, TNumberEdit* associate, int min, int max,
                   const QString& hint)
{
    auto* u = new TUpDown(parent);
    u->setObjectName(name);
    u->setMin(min);
    u->setMax(max);
    u->setIncrement(1);
    u->setFocusPolicy(Qt::NoFocus);
    u->setAssociate(associate);
    ::setHint(u, hint);
    return u;
}

} // namespace

TFrmCsvLabelSet::TFrmCsvLabelSet(QWidget* parent) : TLayoutEditForm(labelParams(), parent)
{
    setObjectName(QStringLiteral("FrmCsvLabelSet"));
    ::setHint(pnlCard, QStringLiteral("ラベル印刷時の一枚分のイメージです。"));
    createLabelControls();
    connect(&document(), &LayoutDocument::sheetChanged, this, &TFrmCsvLabelSet::sheetShown);
    layoutControls();
    CenterCard();
}

void TFrmCsvLabelSet::createLabelControls()
{
    // --- the page control: field settings and label settings ------------------------------
    pgcMain = new QTabWidget(this);
    pgcMain->setObjectName(QStringLiteral("pgcMain"));
    pgcMain->resize(290, 306);
    tsField = new QWidget;
    tsField->setObjectName(QStringLiteral("tsField"));
    tsLabel = new QWidget;
    tsLabel->setObjectName(QStringLiteral("tsLabel"));
    pgcMain->addTab(tsField, QStringLiteral("項目設定"));
    pgcMain->addTab(tsLabel, QStringLiteral("ラベル設定"));
    pnlField->setParent(tsField);
    pnlField->move(2, 2);
    pnlField->show();
    pnlItems->setParent(tsField);
    pnlItems->move(2, 92);
    pnlItems->show();

    // The recipient postal code's 〒, beside its toggle.
    cbSPostMark = new QCheckBox(QStringLiteral("先頭に〒付加"), tsAtesaki);
    cbSPostMark->setObjectName(QStringLiteral("cbSPostMark"));
    cbSPostMark->setGeometry(4, 58, 120, 20);
    cbSPostMark->setFocusPolicy(Qt::NoFocus);
    cbSPostMark->setChecked(true);
    ::setHint(cbSPostMark, QStringLiteral("先頭に〒付加|宛先の郵便番号の先頭に〒を付けます。"));
    connect(cbSPostMark, &QCheckBox::clicked, this, &TFrmCsvLabelSet::cbSPostMarkClick);
    ::setHint(cbPostMark, QStringLiteral("先頭に〒付加|差出人の郵便番号の先頭に〒を付けます。"));

    // --- label settings ---------------------------------------------------------------------
    auto* header = new QGroupBox(QStringLiteral("ラベル情報"), tsLabel);
    header->setObjectName(QStringLiteral("pnlLabelInfo"));
    header->setGeometry(2, 2, 280, 272);
    caption(header, QStringLiteral("単位 [㎜]"), QRect(196, 14, 76, 18), Qt::AlignRight);

    struct Row {
        SheetSetting setting;
        const char16_t* edit;
        const char16_t* upDown;
        const char16_t* hint;
        int column; // 0 left, 1 right
        int line;
    };
    const Row rows[] = {
        {SheetSetting::Columns, u"nedtLblCol", u"udLblCol", u"ラベル列数|シートのラベル横列数を指定します。", 0, 1},
        {SheetSetting::Rows, u"nedtLblRow", u"udLblRow", u"ラベル行数|シートのラベル行数を指定します。", 1, 1},
        {SheetSetting::TopMargin, u"nedtLblUpSp", u"udLblUpSp", u"上余白|ラベルシートの上余白サイズを指定します。", 0, 3},
        {SheetSetting::BottomMargin, u"nedtLblBotSp", u"udLblBotSp", u"下余白|ラベルシートの下余白サイズを指定します。", 1, 3},
        {SheetSetting::LeftMargin, u"nedtLblLefSp", u"udLblLefSp", u"左余白|ラベルシートの左余白サイズを指定します。", 0, 4},
        {SheetSetting::RightMargin, u"nedtLblRigSp", u"udLblRigSp", u"右余白|ラベルシートの右余白サイズを指定します。", 1, 4},
        {SheetSetting::ColumnGap, u"nedtLblYokoSp", u"udLblYokoSp", u"横間隔|横列のラベル間隔を指定します。", 0, 5},
        {SheetSetting::RowGap, u"nedtLblTateSp", u"udLblTateSp", u"縦間隔|縦列のラベル間隔を指定します。", 1, 5},
    };
    auto lineTop = [](int line) { return 36 + line * 36; };
    caption(header, QStringLiteral("列　数"), QRect(62, lineTop(1) - 18, 60, 16));
    caption(header, QStringLiteral("行　数"), QRect(200, lineTop(1) - 18, 60, 16));
    for (const Row& r : rows) {
        const bool count = r.setting == SheetSetting::Columns || r.setting == SheetSetting::Rows;
        const int x = 6 + r.column * 138;
        const int y = lineTop(r.line);
        const QString hint = QString::fromUtf16(r.hint);
        caption(header, LabelGeometry::caption(r.setting), QRect(x, y, 54, 22));
        TNumberEdit* e = numberReadOut(header, QString::fromUtf16(r.edit), !count, hint);
        e->setGeometry(x + 54, y, 50, 22);
        const LabelGeometry::Range range = LabelGeometry::range(r.setting);
        TUpDown* u = upDownFor(header, QString::fromUtf16(r.upDown), e, range.min, range.max, hint);
        u->setGeometry(x + 105, y, 17, 22);
        const SheetSetting setting = r.setting;
        u->setOnChangingEx([this, setting](int position, TUpDown::Direction) {
            return ProposeSheetChange(setting, position);
        });
        connect(u, &TUpDown::positionChanged, e, [e, count](int position) {
            e->setValue(count ? double(position) : double(position) / 10.0);
        });
        m_settingControls[setting] = {e, u};
    }
    nedtLblCol = m_settingControls[SheetSetting::Columns].first;
    udLblCol = m_settingControls[SheetSetting::Columns].second;
    nedtLblRow = m_settingControls[SheetSetting::Rows].first;
    udLblRow = m_settingControls[SheetSetting::Rows].second;
    nedtLblUpSp = m_settingControls[SheetSetting::TopMargin].first;
    udLblUpSp = m_settingControls[SheetSetting::TopMargin].second;
    nedtLblBotSp = m_settingControls[SheetSetting::BottomMargin].first;
    udLblBotSp = m_settingControls[SheetSetting::BottomMargin].second;
    nedtLblLefSp = m_settingControls[SheetSetting::LeftMargin].first;
    udLblLefSp = m_settingControls[SheetSetting::LeftMargin].second;
    nedtLblRigSp = m_settingControls[SheetSetting::RightMargin].first;
    udLblRigSp = m_settingControls[SheetSetting::RightMargin].second;
    nedtLblYokoSp = m_settingControls[SheetSetting::ColumnGap].first;
    udLblYokoSp = m_settingControls[SheetSetting::ColumnGap].second;
    nedtLblTateSp = m_settingControls[SheetSetting::RowGap].first;
    udLblTateSp = m_settingControls[SheetSetting::RowGap].second;

    caption(header, QStringLiteral("ラベル高"), QRect(6, lineTop(2), 54, 22));
    nedtLblH = numberReadOut(header, QStringLiteral("nedtLblH"), true, QStringLiteral("ラベル高さ|ラベルの高さです。"));
    nedtLblH->setGeometry(60, lineTop(2), 50, 22);
    caption(header, QStringLiteral("ラベル幅"), QRect(144, lineTop(2), 54, 22));
    nedtLblW = numberReadOut(header, QStringLiteral("nedtLblW"), true, QStringLiteral("ラベル幅|ラベルの幅です。"));
    nedtLblW->setGeometry(198, lineTop(2), 50, 22);

    // Sheets by product name (the gLabels template files).
    bbtnSheetSelect = new QPushButton(QStringLiteral("用紙選択…"), header);
    bbtnSheetSelect->setObjectName(QStringLiteral("bbtnSheetSelect"));
    bbtnSheetSelect->setGeometry(6, lineTop(5) + 30, 130, 26);
    bbtnSheetSelect->setAutoDefault(false);
    ::setHint(bbtnSheetSelect, QStringLiteral("用紙選択|ラベル用紙を製品名（メーカー、品番）から選びます。"));
    connect(bbtnSheetSelect, &QPushButton::clicked, this, &TFrmCsvLabelSet::bbtnSheetSelectClick);
    bbtnSheetRegister = new QPushButton(QStringLiteral("登録…"), header);
    bbtnSheetRegister->setObjectName(QStringLiteral("bbtnSheetRegister"));
    bbtnSheetRegister->setGeometry(144, lineTop(5) + 30, 130, 26);
    bbtnSheetRegister->setAutoDefault(false);
    ::setHint(bbtnSheetRegister, QStringLiteral("用紙登録|今のラベル設定を用紙として名前を付けて登録します。"));
    connect(bbtnSheetRegister, &QPushButton::clicked, this, &TFrmCsvLabelSet::bbtnSheetRegisterClick);

    // --- start position ---------------------------------------------------------------------
    pnlStart = new QGroupBox(QStringLiteral("印刷開始位置"), this);
    pnlStart->setObjectName(QStringLiteral("pnlStart"));
    pnlStart->resize(290, 76);
    int x = 180;
    for (TShineBtn* b : {ssbCsvFirst, ssbCsvPrior, ssbCsvNext, ssbCsvLast}) {
        b->setParent(pnlStart);
        b->setGeometry(x, 14, 26, 24);
        b->show();
        x += 27;
    }
    ssbCsvOverflow->setParent(pnlStart);
    ssbCsvOverflow->setGeometry(244, 44, 42, 22);
    ssbCsvOverflow->show();
    const QString rowHint = QStringLiteral("印刷開始行|印刷開始時の行を指定します。");
    const QString colHint = QStringLiteral("印刷開始列|印刷開始時の列を指定します。");
    nedtSRow = numberReadOut(pnlStart, QStringLiteral("nedtSRow"), false, rowHint);
    nedtSRow->setGeometry(8, 44, 40, 22);
    udSRow = upDownFor(pnlStart, QStringLiteral("udSRow"), nedtSRow, 1, m_sheet.sheet().rows, rowHint);
    udSRow->setGeometry(49, 44, 17, 22);
    caption(pnlStart, QStringLiteral("行"), QRect(70, 44, 20, 22));
    nedtSCol = numberReadOut(pnlStart, QStringLiteral("nedtSCol"), false, colHint);
    nedtSCol->setGeometry(92, 44, 40, 22);
    udSCol = upDownFor(pnlStart, QStringLiteral("udSCol"), nedtSCol, 1, m_sheet.sheet().columns, colHint);
    udSCol->setGeometry(133, 44, 17, 22);
    caption(pnlStart, QStringLiteral("列より印字"), QRect(154, 44, 90, 22));
    bbtnChoose->setParent(pnlStart);
    bbtnChoose->setGeometry(8, 14, 72, 24);
    bbtnChoose->show();
    lblChoice->setParent(pnlStart);
    lblChoice->setGeometry(84, 14, 94, 24);
    lblChoice->show();
    udSRow->setOnChangingEx([this](int position, TUpDown::Direction) { return ProposeStartRow(position); });
    udSCol->setOnChangingEx([this](int position, TUpDown::Direction) { return ProposeStartColumn(position); });
    connect(udSRow, &TUpDown::positionChanged, nedtSRow, [this](int position) { nedtSRow->setValue(position); });
    connect(udSCol, &TUpDown::positionChanged, nedtSCol, [this](int position) { nedtSCol->setValue(position); });

    showSheet();
    showStart();
}

void TFrmCsvLabelSet::layoutControls()
{
    placeInColumns(290, {pnlPaper, pgcMain, pnlOfset, pnlKeisho, pnlStart});
}

// --- read-outs -----------------------------------------------------------------------------

TUpDown* TFrmCsvLabelSet::upDown(SheetSetting setting) const
{
    const auto it = m_settingControls.find(setting);
    return it == m_settingControls.end() ? nullptr : it->second.second;
}

TNumberEdit* TFrmCsvLabelSet::readOut(SheetSetting setting) const
{
    const auto it = m_settingControls.find(setting);
    return it == m_settingControls.end() ? nullptr : it->second.first;
}

void TFrmCsvLabelSet::showSheet()
{
    for (const auto& [setting, controls] : m_settingControls) {
        const int v = m_sheet.value(setting);
        controls.second->setPosition(v);
        const bool count = setting == SheetSetting::Columns || setting == SheetSetting::Rows;
        controls.first->setValue(count ? double(v) : double(v) / 10.0);
    }
    nedtLblH->setValue(double(m_sheet.labelHeight()) / 10.0);
    nedtLblW->setValue(double(m_sheet.labelWidth()) / 10.0);
}

void TFrmCsvLabelSet::showStart()
{
    udSRow->setMax(m_sheet.sheet().rows);
    udSCol->setMax(m_sheet.sheet().columns);
    udSRow->setPosition(m_sheet.startRow());
    udSCol->setPosition(m_sheet.startColumn());
    nedtSRow->setValue(m_sheet.startRow());
    nedtSCol->setValue(m_sheet.startColumn());
}

// --- sheet ---------------------------------------------------------------------------------

void TFrmCsvLabelSet::sheetShown()
{
    // A smaller grid takes the start cell along; a larger one leaves it where it is.
    m_sheet.follow(document().state().sheet);
    showSheet();
    showStart();
}

bool TFrmCsvLabelSet::ProposeSheetChange(SheetSetting setting, int value)
{
    if (m_loading)
        return true;
    return takeSheet(LayoutRules::changeSheet(document().state(), setting, value));
}

bool TFrmCsvLabelSet::ProposeSheet(const LabelSheet& sheet)
{
    return takeSheet(LayoutRules::replaceSheet(document().state(), sheet));
}

bool TFrmCsvLabelSet::takeSheet(const LayoutRules::SheetChange& change)
{
    if (!change.allowed) {
        Messages::current().information(change.message);
        return false;
    }
    document().change(change.layout);
    return true;
}

void TFrmCsvLabelSet::bbtnSheetSelectClick()
{
    const LabelTemplates::Catalog* catalog = nullptr;
    {
        // The template files are read once per run.
        OverrideCursor wait;
        catalog = &LabelTemplates::Catalog::session();
    }
    if (catalog->products().isEmpty()) {
        Messages::current().warning(
            catalog->systemTemplateCount() == 0
                ? Messages::twoLines(QStringLiteral("ラベル用紙の一覧（gLabels の用紙定義）がありません。"),
                                     QStringLiteral("Debian パッケージ %1 をインストールして下さい。")
                                         .arg(LabelTemplates::packageName()))
                : Messages::twoLines(QStringLiteral("印刷できるラベル用紙が一覧にありません。"),
                                     QStringLiteral("A4 縦、長方形のラベル、2〜8列、2〜14行の用紙が選べます。")));
        return;
    }
    TFrmSheetSelect dialog(catalog->products(), this);
    if (dialog.exec() != QDialog::Accepted || !dialog.selected())
        return;
    ProposeSheet(dialog.selected()->sheet);
}

void TFrmCsvLabelSet::bbtnSheetRegisterClick()
{
    TFrmSheetRegister dialog(m_sheet.sheet(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString name = dialog.maker() + QLatin1Char(' ') + dialog.part();
    LabelTemplates::Catalog& catalog = LabelTemplates::Catalog::session();
    if (catalog.find(name)
        && !Messages::current().askYesNo(
            Messages::twoLines(QStringLiteral("「%1」は既に登録されています。置き換えます。").arg(name),
                               QStringLiteral("よろしいですか？"))))
        return;
    QString error;
    const QString path = LabelTemplates::writeUserTemplate(LabelTemplates::userTemplateDirectory(), dialog.maker(),
                                                           dialog.part(), dialog.description(), m_sheet.sheet(), &error);
    if (path.isEmpty()) {
        Messages::current().warning(Messages::twoLines(QStringLiteral("用紙を登録できませんでした。"), error));
        return;
    }
    LabelTemplates::Product product =
        LabelTemplates::productFromSheet(dialog.maker(), dialog.part(), dialog.description(), m_sheet.sheet());
    product.file = path;
    catalog.add(product);
}

bool TFrmCsvLabelSet::ProposeStartRow(int row)
{
    return m_sheet.ProposeStartRow(row);
}

bool TFrmCsvLabelSet::ProposeStartColumn(int column)
{
    return m_sheet.ProposeStartColumn(column);
}

// --- opening ---------------------------------------------------------------------------------

void TFrmCsvLabelSet::documentOpened(const LayoutOpening& opening)
{
    // The start cell starts afresh at row 1, column 1.
    m_opening = opening.sheet;
    m_sheet.load(document().state().sheet);
    showSheet();
    showStart();
}

void TFrmCsvLabelSet::optionsShown()
{
    cbSPostMark->setChecked(document().state().recipientPostMark);
}

// --- 〒 check boxes --------------------------------------------------------------------------

void TFrmCsvLabelSet::cbPostMarkClick()
{
    postMarkClicked(7);
}

void TFrmCsvLabelSet::cbSPostMarkClick()
{
    postMarkClicked(1);
}

void TFrmCsvLabelSet::postMarkClicked(int field)
{
    if (m_loading)
        return;
    // The rules follow the boxes at once, shown or not: printing reads them too. A shown box
    // is selected and its style applied again from the controls.
    LayoutState s = document().state();
    s.recipientPostMark = cbSPostMark->isChecked();
    s.senderPostMark = cbPostMark->isChecked();
    if (selectedFieldNumber() != 0 && s.field(field).visible()) {
        selectField(field);
        s = LayoutRules::restyle(s, field, styleFromControls(field));
    }
    document().change(s);
}

// --- print run -----------------------------------------------------------------------------

void TFrmCsvLabelSet::bbtnPrintClick()
{
    auto run = std::make_shared<LabelRun>(pageSnapshot());
    if (!confirmPrint(QStringLiteral("CSVデータが空です。"), run->check()))
        return;
    runPrint(run);
}

PrintCheckReport TFrmCsvLabelSet::checkRun() const
{
    return LabelRun(pageSnapshot()).check();
}

LabelSnapshot TFrmCsvLabelSet::pageSnapshot() const
{
    LabelSnapshot s = LabelSnapshot::fromLayout(document().state(), records(), fields()->columns, fields()->sender,
                                                m_sheet.startRow(), m_sheet.startColumn());
    s.choice = recordChoice();
    return s;
}
