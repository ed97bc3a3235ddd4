#pragma once
// Text helpers shared by the tests and benchmarks: Japanese literals as QString, and the
// Shift-JIS bytes of a user's file (encoded by Qt's own ICU codec, not by the program's
// code page layer, so that a fault there cannot hide itself).

#include <QByteArray>
#include <QString>
#include <QStringEncoder>

namespace testtext {

inline QString u(const char16_t* s)
{
    return QString::fromUtf16(s);
}

inline QByteArray sjis(const QString& s)
{
    QStringEncoder enc("windows-31j");
    return enc.encode(s);
}

} // namespace testtext
