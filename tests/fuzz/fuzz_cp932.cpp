// Code page 932 both ways. The input is read once as bytes (a file from elsewhere) and once as
// UTF-16 text (what a user typed, lone surrogates included).
//
// Properties: every byte that is not code page 932 becomes one replacement character and
// nothing else does; text read without a fault is written back to bytes that read the same;
// what is written reads back as what was typed, with the look-alikes Windows uses in place of
// the characters it has no code for; a refused text names a character of the text.

#include "FuzzSupport.h"

#include "platform/Cp932.h"

namespace {

// The characters Windows writes in place of what it has no code for.
QString asWindowsWrites(const QString& typed)
{
    QString s = typed;
    for (QChar& c : s) {
        switch (c.unicode()) {
        case 0x301C: c = QChar(0xFF5E); break;
        case 0x2212: case 0x2013: c = QChar(0xFF0D); break;
        case 0x2016: c = QChar(0x2225); break;
        case 0x2014: c = QChar(0x2015); break;
        case 0x00A2: c = QChar(0xFFE0); break;
        case 0x00A3: c = QChar(0xFFE1); break;
        case 0x00AC: c = QChar(0xFFE2); break;
        case 0x00A5: c = QChar(0xFFE5); break;
        case 0x00A0: c = QChar(u' '); break;
        default: break;
        }
    }
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    Cp932::DecodeStats stats;
    const QString read = Cp932::decode(bytes, &stats);
    FUZZ_CHECK(read.count(QChar(0xFFFD)) == stats.badSequences);
    FUZZ_CHECK((stats.badSequences == 0) == (stats.firstBadOffset < 0));
    FUZZ_CHECK(stats.firstBadOffset < qsizetype(size));
    FUZZ_CHECK(read.size() <= qsizetype(size));
    if (stats.badSequences == 0) {
        QByteArray written;
        FUZZ_CHECK(Cp932::encode(read, &written));
        FUZZ_CHECK(Cp932::decode(written) == read);
    } else {
        FUZZ_CHECK(!Cp932::canEncode(read));
    }

    const QString typed = QString::fromUtf16(reinterpret_cast<const char16_t*>(data), qsizetype(size / 2));
    QByteArray written("untouched");
    QString culprit;
    if (Cp932::encode(typed, &written, &culprit)) {
        Cp932::DecodeStats again;
        FUZZ_CHECK(Cp932::decode(written, &again) == asWindowsWrites(typed));
        FUZZ_CHECK(again.badSequences == 0);
    } else {
        FUZZ_CHECK(written == "untouched");
        FUZZ_CHECK(!culprit.isEmpty() && typed.contains(culprit));
    }
    return 0;
}
