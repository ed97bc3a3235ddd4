#pragma once
// The open-file and open-picture dialogs, behind one small interface: the desktop
// program installs a QFileDialog implementation, tests their scripted double
// (tests/support/ScriptedDialogs.h).
// Printer dialogs live with the printer code.

#include <QString>
#include <QStringList>

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
