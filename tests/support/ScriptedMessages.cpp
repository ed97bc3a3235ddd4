#include "support/ScriptedMessages.h"

#include <cstdio>

namespace {

std::function<void(const QString&)>& failureHandler()
{
    static std::function<void(const QString&)> handler;
    return handler;
}

} // namespace

void setScriptFailureHandler(std::function<void(const QString&)> handler)
{
    failureHandler() = std::move(handler);
}

void reportScriptFailure(const QString& what)
{
    if (failureHandler())
        failureHandler()(what);
    else
        std::fprintf(stderr, "script failure: %s\n", what.toUtf8().constData());
}

ScriptedMessages::ScriptedMessages() : m_previous(&Messages::current())
{
    Messages::setCurrent(this);
}

ScriptedMessages::~ScriptedMessages()
{
    if (&Messages::current() == this)
        Messages::setCurrent(m_previous);
    if (!m_answers.empty())
        reportScriptFailure(QStringLiteral("%1 queued answer(s) never asked for").arg(m_answers.size()));
}

void ScriptedMessages::answerYesNo(bool yes)
{
    m_answers.push_back({ Kind::YesNo, yes ? Answer::Yes : Answer::No });
}

void ScriptedMessages::answerYesNoCancel(Answer answer)
{
    m_answers.push_back({ Kind::YesNoCancel, answer });
}

QStringList ScriptedMessages::texts() const
{
    QStringList out;
    for (const Asked& a : m_asked)
        out << a.text;
    return out;
}

void ScriptedMessages::clear()
{
    m_asked.clear();
    m_answers.clear();
    m_problems.clear();
}

void ScriptedMessages::warning(const QString& text, const QString& caption)
{
    m_asked.push_back({ Kind::Warning, text, caption });
}

void ScriptedMessages::information(const QString& text, const QString& caption)
{
    m_asked.push_back({ Kind::Information, text, caption });
}

void ScriptedMessages::exclamation(const QString& text, const QString& caption)
{
    m_asked.push_back({ Kind::Exclamation, text, caption });
}

bool ScriptedMessages::take(Kind kind, const QString& text, Answer* answer)
{
    if (m_answers.empty() || m_answers.front().kind != kind) {
        const QString what = QStringLiteral("unexpected question: ") + text;
        m_problems << what;
        reportScriptFailure(what);
        return false;
    }
    *answer = m_answers.front().answer;
    m_answers.pop_front();
    return true;
}

bool ScriptedMessages::askYesNo(const QString& text, const QString& caption)
{
    m_asked.push_back({ Kind::YesNo, text, caption });
    Answer a = Answer::No;
    take(Kind::YesNo, text, &a);
    return a == Answer::Yes;
}

Messages::Answer ScriptedMessages::askYesNoCancel(const QString& text, const QString& caption)
{
    m_asked.push_back({ Kind::YesNoCancel, text, caption });
    Answer a = Answer::Cancel;
    take(Kind::YesNoCancel, text, &a);
    return a;
}
