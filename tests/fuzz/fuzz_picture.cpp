// Stamp pictures: bitmaps, icons, JPEG (our libjpeg decoder) and EMF (converted in the helper
// process), through PictureFile as DrawImage loads them, then drawn onto a page and the page
// replayed into an image as the preview does. The first byte chooses the file's extension.

#include "FuzzSupport.h"

#include "preview/PageCanvas.h"
#include "preview/PictureFile.h"

#include <QSvgRenderer>

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ensureApplication();
    fuzz::Input in(data, size);
    static const char* const kNames[] = { "stamp.bmp", "stamp.ico", "stamp.jpg", "stamp.emf", "stamp.JPG", "stamp.png" };
    const QString path = fuzz::scratchFile(QString::fromLatin1(kNames[in.byte() % 6]));
    fuzz::writeFile(path, in.rest());

    const PictureFile picture = PictureFile::load(path);
    if (picture.isNull()) {
        FUZZ_CHECK(!picture.errorString().isEmpty());
        return 0;
    }
    FUZZ_CHECK(picture.errorString().isEmpty());
    const QSizeF natural = picture.naturalSize();
    FUZZ_CHECK(std::isfinite(natural.width()) && std::isfinite(natural.height()));
    if (picture.kind() == PictureFile::Kind::Metafile)
        FUZZ_CHECK(picture.svg() && picture.svg()->isValid());
    else
        FUZZ_CHECK(!picture.image().isNull());

    PageRecording page;
    PageCanvas canvas(&page, 1000, 1480);
    canvas.DrawPicture(100, 400, 100, 400, 1, picture);
    canvas.DrawPicture(500, 900, 100, 300, 0, picture);
    FUZZ_CHECK(page.size() == 2);
    FUZZ_CHECK(!page.toImage(50).isNull());
    return 0;
}
