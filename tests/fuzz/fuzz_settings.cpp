// The settings file POSTCSV.INI: the INI layer reading it, LoadSettings, and the key-by-key save
// of a group (postcard, sender, label or CSV) into it, as the forms save.
//
// Properties: an image that nothing changed is the file byte for byte; a save either reaches
// the disk whole or leaves the file exactly as it was; what a save wrote reads back the same.

#include "FuzzSupport.h"

#include "app/AppSettings.h"
#include "platform/IniFile.h"

#include <QFile>

#include <cmath>

namespace {

QByteArray contents(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        fuzz::fail(__FILE__, __LINE__, "the settings file cannot be read back");
    return f.readAll();
}

bool sameReal(double a, double b)
{
    // Written with 15 significant digits.
    return a == b || std::fabs(a - b) <= 1e-13 * std::fmax(std::fabs(a), std::fabs(b));
}

bool sameNumbers(const FieldStyle& a, const FieldStyle& b)
{
    return a.fontSize == b.fontSize && a.tate == b.tate && a.bold == b.bold && a.italic == b.italic
        && a.alignment == b.alignment && a.post == b.post && a.postWaku == b.postWaku && a.top == b.top
        && a.left == b.left && a.width == b.width && a.visible == b.visible;
}

bool sameNumbers(const ImageBox& a, const ImageBox& b)
{
    return a.top == b.top && a.left == b.left && a.width == b.width && a.height == b.height;
}

// The numbers of a group as the save wrote them and as the next load reads them.
bool groupReadsBack(const AppSettings& saved, const AppSettings& read, int group)
{
    switch (group) {
    case 0:
    case 2: {
        const bool postcard = group == 0;
        const FieldStyles& a = postcard ? saved.postcardFields : saved.labelFields;
        const FieldStyles& b = postcard ? read.postcardFields : read.labelFields;
        for (int i = 0; i < kFieldCount; ++i) {
            if (!sameNumbers(a[size_t(i)], b[size_t(i)]))
                return false;
        }
        if (postcard)
            return sameNumbers(saved.postcardImage, read.postcardImage)
                && sameReal(saved.postcardOffsetX, read.postcardOffsetX)
                && sameReal(saved.postcardOffsetY, read.postcardOffsetY)
                && saved.postcardPostMark == read.postcardPostMark;
        return sameNumbers(saved.labelImage, read.labelImage) && sameReal(saved.labelOffsetX, read.labelOffsetX)
            && sameReal(saved.labelOffsetY, read.labelOffsetY) && saved.labelPostMark == read.labelPostMark
            && saved.labelSheet == read.labelSheet;
    }
    case 3: {
        const CsvColumnMap& a = saved.csv;
        const CsvColumnMap& b = read.csv;
        return a.postNo == b.postNo && a.adr1No == b.adr1No && a.adr2No == b.adr2No && a.mei1No == b.mei1No
            && a.mei2No == b.mei2No && a.cbarNo == b.cbarNo && a.keisNo == b.keisNo && a.hasHeader == b.hasHeader;
    }
    default:
        return true; // the sender group is text only
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray file(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString path = fuzz::scratchFile(QStringLiteral("POSTCSV.INI"));
    fuzz::writeFile(path, file);

    IniFile ini(path);
    FUZZ_CHECK(ini.load());
    FUZZ_CHECK(ini.bytes() == file);

    AppSettings settings;
    FUZZ_CHECK(LoadSettings(settings, path));

    // One group is saved, as a form or the set-up dialog saves it; which one follows from the
    // input's length, so that mutations save every group in turn.
    const int group = int(size % 4);
    const QByteArray before = contents(path);
    bool saved = false;
    switch (group) {
    case 0: saved = SaveLayoutSettings(settings, SettingsGroup::Postcard, path); break;
    case 1: saved = SaveLayoutSettings(settings, SettingsGroup::Sender, path); break;
    case 2: saved = SaveLayoutSettings(settings, SettingsGroup::Label, path); break;
    default: saved = SaveCsvSettings(settings, path); break;
    }
    if (!saved) {
        FUZZ_CHECK(contents(path) == before);
        return 0;
    }
    AppSettings reread;
    FUZZ_CHECK(LoadSettings(reread, path));
    FUZZ_CHECK(groupReadsBack(settings, reread, group));
    return 0;
}
