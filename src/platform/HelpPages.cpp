#include "platform/HelpPages.h"

#include "platform/Messages.h"

#include <QFile>

static void initHelpResources()
{
    // The pages live in a static library: register them before the first look-up.
    static const bool done = [] {
        Q_INIT_RESOURCE(help);
        return true;
    }();
    (void)done;
}

namespace HelpPages {

namespace {

QString resourceName(int context)
{
    switch (context) {
    case 16:
        return QStringLiteral("menu.html");
    case 18:
        return QStringLiteral("csv-setup.html");
    case 20:
        return QStringLiteral("postcard.html");
    case 24:
        return QStringLiteral("label.html");
    default:
        return QString();
    }
}

} // namespace

QUrl pageUrl(int context)
{
    initHelpResources();
    const QString name = resourceName(context);
    if (name.isEmpty() || !QFile::exists(QStringLiteral(":/help/") + name))
        return QUrl();
    return QUrl(QStringLiteral("qrc:/help/") + name);
}

bool hasPage(int context)
{
    return !pageUrl(context).isEmpty();
}

QString missingPageMessage(int context)
{
    return Messages::twoLines(QStringLiteral("ヘルプが見つかりません。"),
                              QStringLiteral("（ヘルプ番号 %1）").arg(context));
}

} // namespace HelpPages
