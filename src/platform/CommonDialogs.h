#pragma once
// The open-file and open-picture dialogs, behind one small interface: the desktop
// program installs a QFileDialog implementation, tests install ScriptedDialogs.
// Printer dialogs live with the printer code.

#include <QString>
#include <QStringList>
#include <QVector>
#include <deque>

class QWidget;

struct OpenFileRequest {
    QString title;
    // Windows form: description|patterns pairs, patterns separated by ';'
    // ("宛名印刷用ＣＳＶ (*.csv)|*.csv").
    QString filter;
    QString initialDir;  // where the dialog starts when fileName is empty
    QString fileName;    // preselected file
    bool mustExist = true;
    bool hideReadOnly = true;
    bool resizable = true;
};

class CommonDialogs {
public:
    virtual ~CommonDialogs() = default;

    // The chosen path, or an empty string when the user cancelled.
    virtual QString openFile(const OpenFileRequest& request, QWidget* owner) = 0;
    virtual QString openPicture(const OpenFileRequest& request, QWidget* owner) = 0;

    // The instance in use; never null. Without an installed one every dialog reports
    // "cancelled" (there is nobody to ask).
    static CommonDialogs& current();
    // Installs an instance (not owned); nullptr restores the default.
    static void setCurrent(CommonDialogs* dialogs);

    // A Windows filter turned into Qt name filters: "desc (*.a *.b)" per pair, with the
    // upper-case patterns added, because file names on Linux are case-sensitive.
    static QStringList qtNameFilters(const QString& windowsFilter);
};

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
