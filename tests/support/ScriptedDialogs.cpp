#include "support/ScriptedDialogs.h"

#include "support/ScriptedMessages.h"

ScriptedDialogs::ScriptedDialogs() : m_previous(&CommonDialogs::current())
{
    CommonDialogs::setCurrent(this);
}

ScriptedDialogs::~ScriptedDialogs()
{
    if (&CommonDialogs::current() == this)
        CommonDialogs::setCurrent(m_previous);
    if (!m_answers.empty())
        reportScriptFailure(QStringLiteral("%1 queued dialog answer(s) never used").arg(m_answers.size()));
}

void ScriptedDialogs::answerOpenFile(const QString& path)
{
    m_answers.emplace_back(Kind::OpenFile, path);
}

void ScriptedDialogs::answerOpenPicture(const QString& path)
{
    m_answers.emplace_back(Kind::OpenPicture, path);
}

QString ScriptedDialogs::take(Kind kind, const OpenFileRequest& request)
{
    m_requests.push_back({ kind, request });
    if (m_answers.empty() || m_answers.front().first != kind) {
        reportScriptFailure(QStringLiteral("unexpected dialog: ") + request.title);
        return QString();
    }
    QString path = m_answers.front().second;
    m_answers.pop_front();
    return path;
}

QString ScriptedDialogs::openFile(const OpenFileRequest& request, QWidget*)
{
    return take(Kind::OpenFile, request);
}

QString ScriptedDialogs::openPicture(const OpenFileRequest& request, QWidget*)
{
    return take(Kind::OpenPicture, request);
}
