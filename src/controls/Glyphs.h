#pragma once
// The small pictures of the forms' glyph buttons (16 x 16, key colour olive $008080 in
// the bottom-left pixel, as TShineBtn expects):
//
//   help          help (question mark)          open          open file (folder)
//   print         print (printer with a page)   printer       printer set-up
//   up down left right    arrows                prior next    previous / next record
//   first last    first / last record           bold italic   text style
//   vertical      vertical writing              align-left align-center align-right
//   sender        edit the sender               image-read image-clear   stamp picture
//   close         close / end                   zoom-in zoom-out
//   whole-page    whole page in view            page-width    page width in view
//   copy          copy to the clipboard
//
//     ssbHelp->setGlyph(Glyphs::get(QStringLiteral("help")));

#include <QImage>
#include <QStringList>

class Glyphs {
public:
    // The glyph of that name; a null image for an unknown name.
    static QImage get(const QString& name);
    // Every name get() knows.
    static QStringList names();
};
