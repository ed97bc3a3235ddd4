#pragma once
// Face names as the layouts store them ("ＭＳ ゴシック", "@ＭＳ 明朝", "IPAGothic", ...)
// turned into fonts that really draw Japanese on this system. The stored name is never
// changed; substitution happens only here.
//
// Windows Japanese faces and the installed faces that stand in for them:
//   ＭＳ ゴシック / MS Gothic     -> IPAGothic      ＭＳ Ｐゴシック / MS PGothic -> IPAPGothic
//   ＭＳ 明朝 / MS Mincho         -> IPAMincho      ＭＳ Ｐ明朝 / MS PMincho     -> IPAPMincho
//   MS UI Gothic                  -> IPAPGothic
// (each also with a leading "@"). When the stand-in is missing, any Japanese face is used.

#include <QFont>
#include <QString>
#include <QStringList>

namespace JapaneseFonts {

// Registers the substitutions for the Windows Japanese face names. Call once after the
// QGuiApplication exists; later calls do nothing. font() works without it.
void install();

// True for the vertical variant of a face ("@" + family).
inline bool isVerticalFace(const QString& face) { return face.startsWith(QLatin1Char('@')); }

// The face name without a leading "@".
QString baseFace(const QString& face);

// The face list of the layout editor's font box: scalable faces, one entry per name,
// with "@" + family for every family that covers Japanese when includeVertical.
// The four Windows Japanese names are listed too when a face stands in for them.
QStringList faceList(bool includeVertical = true, bool sorted = true);

// The installed family that draws a stored face name ("@" ignored): the name itself when
// it is installed, the stand-in of a Windows Japanese name, otherwise a Japanese face
// (a Mincho face for names that say 明朝 / Mincho, else a Gothic face).
QString resolveFamily(const QString& face);

// True when the installed family covers Japanese.
bool coversJapanese(const QString& family);

// A font for a stored face name (a leading "@" is ignored here), with the given em size
// in the caller's units (screen pixels, or 0.1 mm on a page), bold and italic.
// A face that is not installed falls back to a Japanese face, never to empty boxes.
// The size is rounded to whole units and kept within 1..kMaxPixelSize.
QFont font(const QString& face, qreal pixelSize, bool bold, bool italic);

constexpr int kMaxPixelSize = 4000;

// Em size in screen pixels of a font of `points` on the 96-dpi layout screen,
// as a GDI font of that point size: round(points * 96 / 72), half away from zero.
int screenPixelSize(int points);

} // namespace JapaneseFonts
