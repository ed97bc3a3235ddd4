#pragma once
// The help window: shows the program's own help page of a context number (16, 18, 20,
// 24) with links between the pages. One window serves the whole program; it belongs to
// the form that asked last, so a modal form's help can be read and scrolled.

#include <QDialog>
#include <QUrl>

class QTextBrowser;

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    // Opens (or raises) the help window at the page of the context, owned by `owner`.
    // A context without a page shows a warning and returns nullptr.
    static HelpWindow* showHelp(int context, QWidget* owner);

    QUrl currentPage() const;
    QString pageTitle() const;

private:
    explicit HelpWindow(QWidget* owner);
    QTextBrowser* m_browser;
};
