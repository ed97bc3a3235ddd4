#pragma once
// Messages for tests (the desktop program never installs it): records every message and question, answers questions from a
// queue, and reports loudly (through the script-failure handler) a question nobody
// expected or one of a different kind than the next queued answer. Installs itself as
// Messages::current() for its lifetime.

#include "platform/Messages.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <deque>
#include <functional>

// Called with a description whenever a scripted interface meets something unexpected.
// The test runner turns it into a test failure; the default writes to stderr.
void setScriptFailureHandler(std::function<void(const QString&)> handler);
void reportScriptFailure(const QString& what);

class ScriptedMessages final : public Messages {
public:
    enum class Kind { Warning, Information, Exclamation, YesNo, YesNoCancel };
    struct Asked {
        Kind kind;
        QString text;
        QString caption;
    };

    ScriptedMessages();
    ~ScriptedMessages() override;
    ScriptedMessages(const ScriptedMessages&) = delete;
    ScriptedMessages& operator=(const ScriptedMessages&) = delete;

    // Queue the answer to the next question.
    void answerYesNo(bool yes);
    void answerYesNoCancel(Answer answer);

    const QVector<Asked>& asked() const { return m_asked; }
    QStringList texts() const;
    // Questions answered from the queue are not counted here; what is left unanswered is.
    int pendingAnswers() const { return int(m_answers.size()); }
    // Unexpected questions met so far.
    const QStringList& problems() const { return m_problems; }
    void clear();

    void warning(const QString& text, const QString& caption = QString()) override;
    void information(const QString& text, const QString& caption = QString()) override;
    void exclamation(const QString& text, const QString& caption = QString()) override;
    bool askYesNo(const QString& text, const QString& caption = QString()) override;
    Answer askYesNoCancel(const QString& text, const QString& caption = QString()) override;

private:
    struct Queued {
        Kind kind;
        Answer answer;
    };
    bool take(Kind kind, const QString& text, Answer* answer);

    Messages* m_previous = nullptr;
    QVector<Asked> m_asked;
    std::deque<Queued> m_answers;
    QStringList m_problems;
};
