#include "app/ui/TFrmAtenaMemu.h"
#include "platform/JapaneseFonts.h"
#include "platform/ui/MessageBoxMessages.h"
#include "platform/ui/QtCommonDialogs.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Tovalin"));
    JapaneseFonts::install();

    MessageBoxMessages messages;
    Messages::setCurrent(&messages);
    QtCommonDialogs dialogs;
    CommonDialogs::setCurrent(&dialogs);

    TFrmAtenaMemu menu;

    // The preview window "plPrevPost" (TplPrevPost) is created here, hidden; it lives
    // until the program ends and the print forms' preview engines find it by that name.

    menu.show();
    const int rc = app.exec();
    Messages::setCurrent(nullptr);
    CommonDialogs::setCurrent(nullptr);
    return menu.settingsFailed() ? 1 : rc;
}
