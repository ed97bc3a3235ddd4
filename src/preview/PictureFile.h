#pragma once
// A picture file for the stamp image: bitmap, icon, JPEG or enhanced metafile (EMF).
// Loading never ends the program; a missing, damaged or unknown file gives a null picture
// and a reason the user can read. EMF is converted to SVG in a helper process
// (EmfConverter), so that the converter library's crashes on hostile files stay outside.

#include <QImage>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <memory>

class QSvgRenderer;

class PictureFile {
public:
    enum class Kind { None, Bitmap, Icon, Jpeg, Metafile, Other };

    static PictureFile load(const QString& fileName);

    bool isNull() const { return m_kind == Kind::None; }
    Kind kind() const { return m_kind; }
    QString fileName() const { return m_fileName; }
    // Why loading failed, in Japanese for the message box; empty when it loaded.
    QString errorString() const { return m_error; }

    // Raster pictures.
    const QImage& image() const { return m_image; }
    // Metafiles, converted to SVG.
    const std::shared_ptr<QSvgRenderer>& svg() const { return m_svg; }
    // Natural size (pixels, or the metafile's frame in its own units); the aspect ratio counts.
    QSizeF naturalSize() const;
    // The size a layout gives the picture before it is stretched: its pixels, or its frame
    // rounded (at least 1 x 1); invalid for a null picture.
    QSize layoutSize() const;

    // Largest file read, in bytes.
    static constexpr qint64 MaxFileSize = 64LL * 1024 * 1024;

    // True when the bytes start like an enhanced metafile (EMR_HEADER with the " EMF" signature).
    static bool looksLikeEmf(const QByteArray& data);
    // True for a metafile whose header and records lie inside the data and that ends with
    // EMR_EOF: only such a file is handed to the converter (in its helper process).
    static bool isIntactEmf(const QByteArray& data);

private:
    Kind m_kind = Kind::None;
    QString m_fileName;
    QString m_error;
    QImage m_image;
    std::shared_ptr<QSvgRenderer> m_svg;
};
