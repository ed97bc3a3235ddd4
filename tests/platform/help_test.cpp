#include "platform/HelpPages.h"
#include "support/ScriptedMessages.h"
#include "platform/ui/HelpWindow.h"

#include <QFile>
#include <QTextDocument>
#include <QWidget>
#include <gtest/gtest.h>

TEST(Help, EveryFormHasItsPage)
{
    struct Case {
        int context;
        const char16_t* title;
    } cases[] = {
        { 16, u"Tovalinメニュー" },
        { 18, u"Tovalin初期設定" },
        { 20, u"CSVハガキ宛名印刷" },
        { 24, u"CSVA4ラベル宛名印刷" },
    };
    QWidget owner;
    for (const auto& c : cases) {
        ASSERT_TRUE(HelpPages::hasPage(c.context)) << c.context;
        ScriptedMessages messages;
        HelpWindow* w = HelpWindow::showHelp(c.context, &owner);
        ASSERT_NE(w, nullptr) << c.context;
        EXPECT_TRUE(messages.asked().isEmpty());
        EXPECT_EQ(w->currentPage(), HelpPages::pageUrl(c.context));
        EXPECT_EQ(w->pageTitle(), QString::fromUtf16(c.title));
        EXPECT_TRUE(w->isVisible());
        EXPECT_TRUE(w->windowTitle().contains(QString::fromUtf16(c.title)));
    }
}

TEST(Help, MissingPageSaysSo)
{
    for (int context : { 0, 15, 17, 99 }) {
        EXPECT_FALSE(HelpPages::hasPage(context));
        ScriptedMessages messages;
        EXPECT_EQ(HelpWindow::showHelp(context, nullptr), nullptr);
        ASSERT_EQ(messages.asked().size(), 1);
        EXPECT_EQ(messages.asked().first().kind, ScriptedMessages::Kind::Warning);
        EXPECT_EQ(messages.asked().first().text, HelpPages::missingPageMessage(context));
        EXPECT_TRUE(messages.asked().first().text.contains(QString::number(context)));
    }
}

TEST(Help, PagesLinkToEachOther)
{
    // Every link in every page leads to a page that exists.
    for (int context : { 16, 18, 20, 24 }) {
        QFile f(":" + HelpPages::pageUrl(context).path());
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << context;
        const QString html = QString::fromUtf8(f.readAll());
        qsizetype at = 0;
        int links = 0;
        while ((at = html.indexOf("href=\"", at)) >= 0) {
            at += 6;
            const QString target = html.mid(at, html.indexOf('"', at) - at);
            EXPECT_TRUE(QFile::exists(":/help/" + target)) << context << " " << target.toStdString();
            ++links;
        }
        EXPECT_GT(links, 1) << context;
    }
}
