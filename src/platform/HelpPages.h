#pragma once
// The program's own help pages (Japanese HTML compiled into the program), found by the
// help context number a form's help button passes: 16 main menu, 18 CSV set-up,
// 20 postcard form, 24 label form.

#include <QString>
#include <QUrl>

namespace HelpPages {

// The page of a context ("qrc:/help/menu.html"), or an empty URL when there is none.
QUrl pageUrl(int context);
bool hasPage(int context);

// The message shown when a context has no page (two lines, CR LF).
QString missingPageMessage(int context);

} // namespace HelpPages
