#pragma once
// The open-file and open-picture dialogs of a test: answers come from a queue.

#include "platform/CommonDialogs.h"

#include <QVector>
#include <deque>

// Dialogs for tests: answers from a queue (an empty answer is "cancel"), records every
// request, and reports a dialog that nobody scripted. Installs itself for its lifetime.
class ScriptedDialogs final : public CommonDialogs {
public:
    enum class Kind { OpenFile, OpenPicture };
    struct Request {
        Kind kind;
        OpenFileRequest request;
    };

    ScriptedDialogs();
    ~ScriptedDialogs() override;
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    void answerOpenFile(const QString& path);    // empty: the user cancels
    void answerOpenPicture(const QString& path);

    const QVector<Request>& requests() const { return m_requests; }
    int pendingAnswers() const { return int(m_answers.size()); }

    QString openFile(const OpenFileRequest& request, QWidget* owner) override;
    QString openPicture(const OpenFileRequest& request, QWidget* owner) override;

private:
    QString take(Kind kind, const OpenFileRequest& request);

    CommonDialogs* m_previous = nullptr;
    QVector<Request> m_requests;
    std::deque<std::pair<Kind, QString>> m_answers;
};
