#pragma once
// Enhanced metafiles are converted to SVG by our helper program tovalin-emf2svg, never inside
// Tovalin or tovalin-print: the converter library crashes or loops on some hostile files. The
// helper runs under a memory and CPU limit of its own and is stopped after a time limit here,
// so such a file only fails to load.
//
// The helper is looked for beside the running program (the build tree), in the folder it is
// installed to relative to the program (bin/../libexec/tovalin), and at its installed path.

#include <QByteArray>
#include <QString>
#include <QStringList>

struct EmfConversion {
    enum Status {
        Converted,
        Refused,  // the helper could not convert the file
        Crashed,  // the helper ended by a signal or with a sanitizer's report
        TimedOut, // stopped after the time limit
        NoHelper, // the helper program was not found or did not start
    };
    Status status = NoHelper;
    QByteArray svg;
};

namespace EmfConverter {

EmfConversion convert(const QByteArray& emf);

// The helper program that convert() runs; empty when none was found.
QString helperPath();
// The places helperPath() looks in, in order.
QStringList helperCandidates();
// Overrides the lookup (tests, and programs that know where the helper is); empty restores it.
void setHelperPath(const QString& path);

// How long a conversion may take before the helper is stopped.
int timeoutMilliseconds();
void setTimeoutMilliseconds(int milliseconds);

} // namespace EmfConverter
