#pragma once
// Face names as the layouts store them ("ＭＳ ゴシック", "@ＭＳ 明朝", "IPAGothic", ...)
// turned into fonts that really draw Japanese on this system. The stored name is never
// changed; substitution happens only here.

#include <QFont>
#include <QString>
#include <QStringList>

namespace JapaneseFonts {

// Registers the substitutions for the Windows Japanese face names. Call once after the
// QGuiApplication exists; later calls do nothing.
void install();

// True for the vertical variant of a face ("@" + family).
inline bool isVerticalFace(const QString& face) { return face.startsWith(QLatin1Char('@')); }

// The face list of the layout editor's font box: scalable faces, one entry per name,
// with "@" + family for every family that covers Japanese when includeVertical.
QStringList faceList(bool includeVertical = true, bool sorted = true);

// A font for a stored face name (a leading "@" is ignored here), with the given em size
// in the caller's units (screen pixels, or 0.1 mm on a page), bold and italic.
// A face that is not installed falls back to a Japanese face, never to empty boxes.
QFont font(const QString& face, qreal pixelSize, bool bold, bool italic);

} // namespace JapaneseFonts
