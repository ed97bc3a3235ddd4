#include "app/ui/TFrmAtenaMemu.h"
#include "label/ui/TFrmCsvLabelSet.h"
#include "platform/Allocator.h"
#include "platform/JapaneseFonts.h"
#include "platform/ui/MessageBoxMessages.h"
#include "platform/ui/QtCommonDialogs.h"
#include "platform/ui/QtPrinterDialogs.h"
#include "postcard/ui/TFrmCsvPostSet.h"
#include "preview/ui/TplPrevPost.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    // Answered before anything needs a display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("tovalin %s\n", TOVALIN_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf("使い方: tovalin [--version]\n"
                        "CSV住所録の宛名をハガキやA4ラベルに印刷します。"
                        "ウィンドウなしの印刷は tovalin-print --help をご覧下さい。\n");
            return 0;
        }
    }

    // The preview window prints long runs of pages, as tovalin-print does.
    Allocator::keepPageBuffers();
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Tovalin"));
    // The desktop entry, so that the window gets its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tovalin.Tovalin"));
    JapaneseFonts::install();

    MessageBoxMessages messages;
    Messages::setCurrent(&messages);
    QtCommonDialogs dialogs;
    CommonDialogs::setCurrent(&dialogs);
    QtPrinterDialogs printerDialogs;
    PrinterDialogs::setCurrent(&printerDialogs);

    TFrmAtenaMemu::setPostcardFormFactory([](QWidget* parent) { return new TFrmCsvPostSet(parent); });
    TFrmAtenaMemu::setLabelFormFactory([](QWidget* parent) { return new TFrmCsvLabelSet(parent); });
    TFrmAtenaMemu menu;

    // The one preview window, hidden until a print run shows it; the print forms' preview
    // engines find it by its name "plPrevPost".
    TplPrevPost plPrevPost;

    menu.show();
    const int rc = app.exec();
    Messages::setCurrent(nullptr);
    CommonDialogs::setCurrent(nullptr);
    PrinterDialogs::setCurrent(nullptr);
    return menu.settingsFailed() ? 1 : rc;
}
