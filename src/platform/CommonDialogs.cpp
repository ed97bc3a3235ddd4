#include "platform/CommonDialogs.h"

namespace {

class NoDialogs final : public CommonDialogs {
public:
    QString openFile(const OpenFileRequest&, QWidget*) override { return QString(); }
    QString openPicture(const OpenFileRequest&, QWidget*) override { return QString(); }
};

CommonDialogs* g_current = nullptr;

} // namespace

CommonDialogs& CommonDialogs::current()
{
    static NoDialogs fallback;
    return g_current ? *g_current : fallback;
}

void CommonDialogs::setCurrent(CommonDialogs* dialogs)
{
    g_current = dialogs;
}

QStringList CommonDialogs::qtNameFilters(const QString& windowsFilter)
{
    QStringList out;
    const QStringList parts = windowsFilter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString desc = parts.at(i).trimmed();
        // Qt reads the patterns from the last parentheses of the description, so the
        // Windows-style "(*.a;*.b;)" there is replaced by the Qt form.
        const qsizetype open = desc.lastIndexOf(QLatin1Char('('));
        if (open > 0 && desc.endsWith(QLatin1Char(')')))
            desc = desc.left(open).trimmed();
        QStringList patterns;
        for (const QString& p : parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString t = p.trimmed();
            if (t.isEmpty())
                continue;
            if (!patterns.contains(t))
                patterns << t;
            const QString upper = t.toUpper();
            if (!patterns.contains(upper))
                patterns << upper;
        }
        out << desc + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return out;
}
