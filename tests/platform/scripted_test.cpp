#include "platform/CommonDialogs.h"
#include "support/ScriptedMessages.h"
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

namespace {

// Collects script failures instead of failing the test, for the tests that provoke them.
class CaptureFailures {
public:
    CaptureFailures()
    {
        setScriptFailureHandler([this](const QString& w) { failures << w; });
    }
    ~CaptureFailures()
    {
        setScriptFailureHandler([](const QString& w) { ADD_FAILURE() << w.toStdString(); });
    }
    QStringList failures;
};

} // namespace

TEST(ScriptedMessages, RecordsAndAnswersInOrder)
{
    ScriptedMessages m;
    EXPECT_EQ(&Messages::current(), &m);
    m.answerYesNo(true);
    m.answerYesNoCancel(Messages::Answer::No);
    m.answerYesNo(false);
    Messages::current().warning("w", "cap");
    EXPECT_TRUE(Messages::current().askYesNo("q1"));
    Messages::current().information("i");
    EXPECT_EQ(Messages::current().askYesNoCancel("q2"), Messages::Answer::No);
    EXPECT_FALSE(Messages::current().askYesNo("q3"));
    Messages::current().exclamation("e");
    EXPECT_EQ(m.texts(), (QStringList { "w", "q1", "i", "q2", "q3", "e" }));
    EXPECT_EQ(m.asked().at(0).caption, QStringLiteral("cap"));
    EXPECT_EQ(m.asked().at(0).kind, ScriptedMessages::Kind::Warning);
    EXPECT_EQ(m.asked().at(3).kind, ScriptedMessages::Kind::YesNoCancel);
    EXPECT_EQ(m.asked().at(5).kind, ScriptedMessages::Kind::Exclamation);
    EXPECT_EQ(m.pendingAnswers(), 0);
}

TEST(ScriptedMessages, UnexpectedQuestionsFailLoudlyAndAnswerSafely)
{
    CaptureFailures capture;
    {
        ScriptedMessages m;
        // Nothing queued: No and Cancel, never Yes.
        EXPECT_FALSE(m.askYesNo("delete everything?"));
        EXPECT_EQ(m.askYesNoCancel("save?"), Messages::Answer::Cancel);
        // Queued for the other kind of question.
        m.answerYesNoCancel(Messages::Answer::Yes);
        EXPECT_FALSE(m.askYesNo("other kind"));
        EXPECT_EQ(m.problems().size(), 3);
        // The queued answer is still pending when the script ends.
    }
    ASSERT_EQ(capture.failures.size(), 4);
    EXPECT_TRUE(capture.failures.at(0).contains("delete everything?"));
    EXPECT_TRUE(capture.failures.at(3).contains("never asked"));
}

TEST(ScriptedMessages, InstallsAndRestores)
{
    Messages* outer = &Messages::current();
    {
        ScriptedMessages a;
        {
            ScriptedMessages b;
            EXPECT_EQ(&Messages::current(), &b);
        }
        EXPECT_EQ(&Messages::current(), &a);
    }
    EXPECT_EQ(&Messages::current(), outer);
}

TEST(CommonDialogs, WindowsFiltersBecomeQtFilters)
{
    struct Case {
        const char16_t* windows;
        QStringList qt;
    } cases[] = {
        { u"宛名印刷用ＣＳＶ (*.csv)|*.csv", { QStringLiteral("宛名印刷用ＣＳＶ (*.csv *.CSV)") } },
        { u"画像ファイル (*.bmp;*.emf;*.jpg;*.ico;)|*.bmp;*.emf;*.jpg;*.ico;",
          { QStringLiteral("画像ファイル (*.bmp *.BMP *.emf *.EMF *.jpg *.JPG *.ico *.ICO)") } },
        { u"Text|*.txt|All|*", { "Text (*.txt *.TXT)", "All (*)" } },
        { u"", {} },
    };
    for (const auto& c : cases)
        EXPECT_EQ(CommonDialogs::qtNameFilters(QString::fromUtf16(c.windows)), c.qt);
}

TEST(CommonDialogs, ScriptedDialogsAnswerAndRecord)
{
    CaptureFailures capture;
    {
        ScriptedDialogs d;
        EXPECT_EQ(&CommonDialogs::current(), &d);
        d.answerOpenFile("/a.csv");
        d.answerOpenFile(QString());
        OpenFileRequest r;
        r.title = QStringLiteral("宛名印刷用ＣＳＶ指定");
        EXPECT_EQ(CommonDialogs::current().openFile(r, nullptr), QStringLiteral("/a.csv"));
        EXPECT_EQ(CommonDialogs::current().openFile(r, nullptr), QString());
        EXPECT_TRUE(capture.failures.isEmpty());
        EXPECT_EQ(CommonDialogs::current().openPicture(r, nullptr), QString());
        EXPECT_EQ(capture.failures.size(), 1);
        ASSERT_EQ(d.requests().size(), 3);
        EXPECT_EQ(d.requests().at(2).kind, ScriptedDialogs::Kind::OpenPicture);
        EXPECT_EQ(d.requests().at(0).request.title, r.title);
    }
    // Without an installed implementation nobody can be asked: "cancelled".
    EXPECT_EQ(CommonDialogs::current().openFile(OpenFileRequest(), nullptr), QString());
}
