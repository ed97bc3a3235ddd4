#include "preview/JpegDecoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>

extern "C" {
#include <jerror.h>
#include <jpeglib.h>
}

namespace {

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    bool truncated = false; // ended early
    bool corrupt = false;   // data libjpeg skipped or could not decode
    char message[JMSG_LENGTH_MAX] = {};
};

void errorExit(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void emitMessage(j_common_ptr cinfo, int level)
{
    // Warnings (level -1) are otherwise silent; libjpeg goes on after a premature end or
    // after entropy data it cannot decode and fills what it lost with grey. Such a picture is
    // damaged. (Extraneous bytes before a marker are common in camera files and lose nothing.)
    if (level < 0) {
        auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
        switch (cinfo->err->msg_code) {
        case JWRN_JPEG_EOF:
            err->truncated = true;
            break;
        case JWRN_HIT_MARKER:
        case JWRN_HUFF_BAD_CODE:
        case JWRN_MUST_RESYNC:
        case JWRN_NOT_SEQUENTIAL:
        case JWRN_BOGUS_PROGRESSION:
            err->corrupt = true;
            break;
        default:
            break;
        }
        cinfo->err->num_warnings++;
    }
}

void outputMessage(j_common_ptr) { }

// Everything that must survive a longjmp lives here, reached through a pointer that is
// never changed after setjmp.
struct DecodeState {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    QImage image;
    QByteArray cmykRow;
    bool created = false;
};

bool run(DecodeState* s, const QByteArray& data, QString* error)
{
    if (setjmp(s->err.jump)) {
        if (error)
            *error = QString::fromLatin1(s->err.message);
        return false;
    }
    jpeg_create_decompress(&s->cinfo);
    s->created = true;
    jpeg_mem_src(&s->cinfo, reinterpret_cast<const unsigned char*>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&s->cinfo, TRUE);

    const J_COLOR_SPACE in = s->cinfo.jpeg_color_space;
    QImage::Format format = QImage::Format_RGB888;
    if (in == JCS_GRAYSCALE) {
        s->cinfo.out_color_space = JCS_GRAYSCALE;
        format = QImage::Format_Grayscale8;
    } else if (in == JCS_CMYK || in == JCS_YCCK) {
        s->cinfo.out_color_space = JCS_CMYK;
        format = QImage::Format_RGB32;
    } else {
        s->cinfo.out_color_space = JCS_RGB;
    }
    jpeg_calc_output_dimensions(&s->cinfo);
    const qint64 pixels = qint64(s->cinfo.output_width) * qint64(s->cinfo.output_height);
    if (pixels <= 0 || pixels > JpegDecoder::MaxPixels) {
        if (error)
            *error = QStringLiteral("image too large");
        return false;
    }
    jpeg_start_decompress(&s->cinfo);
    s->image = QImage(int(s->cinfo.output_width), int(s->cinfo.output_height), format);
    if (s->image.isNull()) {
        if (error)
            *error = QStringLiteral("out of memory");
        return false;
    }
    const bool cmyk = s->cinfo.out_color_space == JCS_CMYK;
    if (cmyk)
        s->cmykRow.resize(int(s->cinfo.output_width) * 4);
    // Adobe writes CMYK JPEGs inverted.
    const bool inverted = cmyk && s->cinfo.saw_Adobe_marker;

    while (s->cinfo.output_scanline < s->cinfo.output_height) {
        const int y = int(s->cinfo.output_scanline);
        JSAMPROW row = cmyk ? reinterpret_cast<JSAMPROW>(s->cmykRow.data()) : s->image.scanLine(y);
        jpeg_read_scanlines(&s->cinfo, &row, 1);
        if (cmyk) {
            auto* out = reinterpret_cast<QRgb*>(s->image.scanLine(y));
            const auto* p = reinterpret_cast<const unsigned char*>(s->cmykRow.constData());
            for (unsigned x = 0; x < s->cinfo.output_width; ++x, p += 4) {
                int c = p[0], m = p[1], yy = p[2], k = p[3];
                if (!inverted) {
                    c = 255 - c;
                    m = 255 - m;
                    yy = 255 - yy;
                    k = 255 - k;
                }
                out[x] = qRgb(c * k / 255, m * k / 255, yy * k / 255);
            }
        }
        if (s->err.truncated || s->err.corrupt)
            break;
    }
    if (!s->err.truncated && !s->err.corrupt)
        jpeg_finish_decompress(&s->cinfo);
    if (s->err.truncated || s->err.corrupt) {
        if (error)
            *error = s->err.truncated ? QStringLiteral("premature end of JPEG data") : QStringLiteral("corrupt JPEG data");
        return false;
    }
    return true;
}

} // namespace

QImage JpegDecoder::decode(const QByteArray& data, QString* error)
{
    if (data.size() < 4) {
        if (error)
            *error = QStringLiteral("not JPEG data");
        return QImage();
    }
    auto state = std::make_unique<DecodeState>();
    std::memset(&state->cinfo, 0, sizeof(state->cinfo));
    state->cinfo.err = jpeg_std_error(&state->err.pub);
    state->err.pub.error_exit = errorExit;
    state->err.pub.emit_message = emitMessage;
    state->err.pub.output_message = outputMessage;

    const bool ok = run(state.get(), data, error);
    if (state->created)
        jpeg_destroy_decompress(&state->cinfo);
    if (!ok)
        return QImage();
    return state->image;
}
