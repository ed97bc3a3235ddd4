#pragma once
// Decodes JPEG data with libjpeg. Errors never end the program: the decoder's own error
// manager returns control here, and a file that ends early counts as damaged.

#include <QByteArray>
#include <QImage>
#include <QString>

class JpegDecoder {
public:
    // The decoded image, or a null image with *error set.
    static QImage decode(const QByteArray& data, QString* error = nullptr);

    // Largest picture accepted, in pixels; a stamp picture is far smaller.
    static constexpr qint64 MaxPixels = 100LL * 1000 * 1000;
};
