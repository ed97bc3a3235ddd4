#include "platform/ui/HelpWindow.h"

#include "platform/HelpPages.h"
#include "platform/Messages.h"

#include <QDialogButtonBox>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {
QPointer<HelpWindow> g_window;
}

HelpWindow::HelpWindow(QWidget* owner) : QDialog(owner, Qt::Window), m_browser(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("helpWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    m_browser->setOpenLinks(true);
    m_browser->setOpenExternalLinks(false);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close = buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("helpClose"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_browser);
    layout->addWidget(buttons);
    connect(m_browser, &QTextBrowser::sourceChanged, this,
            [this] { setWindowTitle(QStringLiteral("Tovalin ヘルプ - ") + pageTitle()); });
    resize(560, 520);
}

HelpWindow* HelpWindow::showHelp(int context, QWidget* owner)
{
    const QUrl page = HelpPages::pageUrl(context);
    if (page.isEmpty()) {
        Messages::current().warning(HelpPages::missingPageMessage(context));
        return nullptr;
    }
    if (!g_window)
        g_window = new HelpWindow(owner);
    else if (g_window->parentWidget() != owner)
        g_window->setParent(owner, Qt::Window); // a modal owner must not block its help
    g_window->m_browser->setSource(page);
    g_window->show();
    g_window->raise();
    g_window->activateWindow();
    return g_window;
}

QUrl HelpWindow::currentPage() const
{
    return m_browser->source();
}

QString HelpWindow::pageTitle() const
{
    return m_browser->documentTitle();
}
