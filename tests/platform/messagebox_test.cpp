#include "platform/ui/MessageBoxMessages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <memory>
#include <gtest/gtest.h>

namespace {

struct Seen {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    QString text;
    QStringList buttons;
    QString defaultButton;
};

} // namespace

TEST(MessageBoxMessages, IconsButtonsAndAnswers)
{
    MessageBoxMessages m;
    const QString yes = QStringLiteral("はい(&Y)");
    const QString no = QStringLiteral("いいえ(&N)");
    const QString cancel = QStringLiteral("キャンセル");

    struct Case {
        const char* name;
        std::function<QString()> ask; // returns the answer as text
        QString press;
        QMessageBox::Icon icon;
        QStringList buttons;
        QString answer;
    };
    const QList<Case> cases {
        { "warning", [&] { m.warning(Messages::twoLines("a", "b")); return QStringLiteral("-"); }, "OK",
          QMessageBox::Warning, { "OK" }, "-" },
        { "information", [&] { m.information("i"); return QStringLiteral("-"); }, "OK",
          QMessageBox::Information, { "OK" }, "-" },
        { "yes", [&] { return QString(m.askYesNo("q") ? "yes" : "no"); }, yes, QMessageBox::Information,
          { no, yes }, "yes" },
        { "no", [&] { return QString(m.askYesNo("q") ? "yes" : "no"); }, no, QMessageBox::Information,
          { no, yes }, "no" },
        { "escape is no", [&] { return QString(m.askYesNo("q") ? "yes" : "no"); }, QString(),
          QMessageBox::Information, { no, yes }, "no" },
        { "cancel", [&] { return QString::number(int(m.askYesNoCancel("s"))); }, cancel,
          QMessageBox::Information, { cancel, no, yes }, QString::number(int(Messages::Answer::Cancel)) },
        { "escape is cancel", [&] { return QString::number(int(m.askYesNoCancel("s"))); }, QString(),
          QMessageBox::Information, { cancel, no, yes }, QString::number(int(Messages::Answer::Cancel)) },
        { "yes of three", [&] { return QString::number(int(m.askYesNoCancel("s"))); }, yes,
          QMessageBox::Information, { cancel, no, yes }, QString::number(int(Messages::Answer::Yes)) },
    };
    for (const Case& c : cases) {
        auto seen = std::make_shared<Seen>();
        QTimer::singleShot(0, [seen, press = c.press] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            seen->icon = box->icon();
            seen->title = box->windowTitle();
            seen->text = box->text();
            for (QAbstractButton* b : box->buttons())
                seen->buttons << b->text();
            seen->buttons.sort();
            if (press.isEmpty()) {
                box->reject();
                return;
            }
            for (QAbstractButton* b : box->buttons()) {
                if (b->text() == press) {
                    b->click();
                    return;
                }
            }
        });
        EXPECT_EQ(c.ask(), c.answer) << c.name;
        EXPECT_EQ(seen->icon, c.icon) << c.name;
        QStringList expectedButtons = c.buttons;
        expectedButtons.sort();
        EXPECT_EQ(seen->buttons, expectedButtons) << c.name;
        EXPECT_EQ(seen->title, QStringLiteral("Tovalin")) << c.name;
        if (QByteArray(c.name) == "warning") {
            EXPECT_EQ(seen->text, QStringLiteral("a\nb"));
        }
    }
}
