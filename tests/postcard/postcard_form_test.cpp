// The postcard form as a user meets it: what opens, what the controls show, record
// navigation, the print-item toggles, the honorific, the vertical toggle, the sender postal
// frame, and bad input that must neither crash nor lose the layout.

#include "PostcardFormFixture.h"

#include "controls/Hint.h"
#include "controls/TNumberEdit.h"
#include "controls/TShineBtn.h"
#include "layout/ui/LayoutFields.h"
#include "postcard/CardPicture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace postcardtest;

namespace {

QColor pixel(const QImage& img, int x, int y)
{
    return img.pixelColor(x, y);
}

} // namespace

TEST_F(PostcardForm, OpensWithTheCardTheControlsAndTheFirstRecord)
{
    open();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("宛名印刷"));
    EXPECT_GE(form->width(), 670);
    EXPECT_GE(form->height(), 620);
    EXPECT_EQ(form->panelText(2), QStringLiteral("宛名印刷"));
    EXPECT_EQ(form->pnlCard->size(), QSize(378, 559));
    EXPECT_EQ(form->lblPage->text(), QStringLiteral("1 / 25"));
    // Field 2 is the lowest visible after field 1 and 1 is visible: field 1 is selected.
    EXPECT_EQ(form->selectedField(), box(1));
    EXPECT_EQ(form->lblFld->text(), QStringLiteral("郵便番号"));
    EXPECT_EQ(box(1)->geometry(), QRect(167, 45, 185, 33));
    EXPECT_EQ(box(1)->Moji(), QStringLiteral("1010001"));
    EXPECT_EQ(box(2)->Moji(), QStringLiteral("東京都千代田区飯田橋1－１０－８"));
    // The honorific goes to name 2 (visible, not blank), from the CSV column.
    EXPECT_EQ(box(5)->Moji(), QStringLiteral("山田　花子　様"));
    EXPECT_EQ(box(4)->Moji(), QStringLiteral("山田　太郎1"));
    EXPECT_TRUE(form->cbKeisho->isChecked());
    EXPECT_FALSE(form->cmbKeisho->isVisible());
    EXPECT_EQ(form->cmbFontSize->count(), 17);
    EXPECT_EQ(form->cmbFontSize->itemText(16), QStringLiteral("48"));
    for (int n = 1; n <= 15; ++n)
        EXPECT_EQ(form->itemToggles[n - 1]->isDown(), !box(n)->isHidden()) << n;

    // The card picture: white, red box outlines, the stamp picture.
    const QImage card = form->cardImage();
    ASSERT_EQ(card.size(), QSize(378, 559));
    EXPECT_EQ(pixel(card, 5, 300), QColor(Qt::white));
    for (int left : CardPicture::kBoxLefts) {
        EXPECT_EQ(pixel(card, left, 60), QColor(255, 0, 0)) << left;
        EXPECT_EQ(pixel(card, left + 21, 60), QColor(255, 0, 0)) << left;
        EXPECT_EQ(pixel(card, left + 10, 60), QColor(Qt::white)) << left;
    }
    EXPECT_EQ(pixel(card, 246, 60), QColor(255, 0, 0)); // the hyphen

    const QImage shot = form->grab().toImage();
    shot.save(QDir(QStringLiteral(TOVALIN_BINARY_DIR)).filePath(QStringLiteral("postcard_form.png")));
}

TEST_F(PostcardForm, ControlsCarryTheirNamesCaptionsAndHints)
{
    open();
    struct Row {
        const char* name;
        const char* hint;
    } rows[] = {
        {"ssbHelp", "ヘルプ|ヘルプを表示します。"},
        {"cmbFldFont", "フォント|使用するフォントを選択します。"},
        {"ssbTate", "縦書き|縦書きにする場合押してください。"},
        {"ssbBold", "太字|太字にする場合押してください。"},
        {"ssbIta", "斜体|斜体にする場合押してください。"},
        {"ssbLeft", "左寄せ|左寄せにしたい場合押してください。"},
        {"ssbCenter", "中央寄せ|中央寄せにしたい場合押してください。"},
        {"ssbRight", "右寄せ|右寄せにしたい場合押してください。"},
        {"ssbMoto", "差出人編集|差出人情報を編集します。"},
        {"bbtnStampRead", "画像読込|画像イメージを指定して下さい。"},
        {"bbtnClear", "クリア|画像イメージをクリアします。"},
        {"lblPage", "頁情報|現在データ/総データ件数 が表示されます。"},
        {"bbtnPrint", "印刷します。"},
        {"bbtnClose", "終了します。"},
        {"ssbPrint", "プリンタ設定|用紙、印刷品質等を設定します。用紙はハガキを選択して下さい。(148㎜×100㎜)"},
        {"pnlFldPos", "項目位置情報|項目の位置、及びサイズです。"},
        {"pnlOfset", "位置調整|全体位置を調整します。郵便番号位置がずれている時等に使用します。"},
        {"imgStamp", "画像を印刷する場合指定します。"},
    };
    for (const Row& r : rows) {
        auto* w = form->findChild<QWidget*>(QLatin1String(r.name));
        ASSERT_NE(w, nullptr) << r.name;
        EXPECT_EQ(hintOf(w), QString::fromUtf8(r.hint)) << r.name;
    }
    struct Caption {
        const char* name;
        const char* text;
    } captions[] = {
        {"bbtnPrint", " 印　刷"}, {"bbtnClose", "　終　了"}, {"cbOnly", "表示宛名のみ印刷"},
        {"cbPost", "郵便枠対応"}, {"cbPostMark", "先頭に〒付加"}, {"cbKeisho", "登録されている敬称を使用"},
        {"bbtnStampRead", "画像読込"}, {"bbtnClear", "画像クリア"},
    };
    for (const Caption& c : captions) {
        auto* w = form->findChild<QAbstractButton*>(QLatin1String(c.name));
        ASSERT_NE(w, nullptr) << c.name;
        EXPECT_EQ(w->text(), QString::fromUtf8(c.text)) << c.name;
    }
    const char* const toggles[] = {"ssbSPost", "ssbSAdr1", "ssbSAdr2", "ssbSMei1", "ssbSMei2", "ssbSCBar", "ssbMPost",
                                   "ssbMAdr1", "ssbMAdr2", "ssbMMei1", "ssbMMei2", "ssbMTel",  "ssbMFax",  "ssbMMail",
                                   "ssbMUrl"};
    for (int n = 1; n <= 15; ++n) {
        auto* t = form->findChild<TShineBtn*>(QLatin1String(toggles[n - 1]));
        ASSERT_NE(t, nullptr) << toggles[n - 1];
        EXPECT_EQ(t->property("tag").toInt(), n);
    }
    for (const char* name : {"nedtOfsetY", "nedtOfsetX"})
        EXPECT_NE(form->findChild<TNumberEdit*>(QLatin1String(name)), nullptr) << name;
    for (const char* name : {"pnlPaper", "pnlField", "pnlItems", "pnlOfset", "pnlKeisho", "pnlRange"})
        EXPECT_NE(form->findChild<QGroupBox*>(QLatin1String(name)), nullptr) << name;
    EXPECT_EQ(form->edtDummy->width(), 0);
}
