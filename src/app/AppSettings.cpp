#include "app/AppSettings.h"

#include "platform/AppPaths.h"
#include "platform/Cp932.h"
#include "platform/IniFile.h"

#include <QByteArray>
#include <QFileInfo>

namespace {

const QString kDefaultFace = QStringLiteral("ＭＳ ゴシック");

QString fieldSection(bool postcard, int n)
{
    return (postcard ? QStringLiteral("POSTFLD") : QStringLiteral("LABELFLD")) + QString::number(n);
}

QString imageSection(bool postcard)
{
    return postcard ? QStringLiteral("POSTFLD") : QStringLiteral("LABELFLD");
}

QString offsetSection(bool postcard)
{
    return postcard ? QStringLiteral("PAPER") : QStringLiteral("LABEL");
}

// The customer-barcode column's option; only field 6 has it, and the key is written only
// when it is on, so files without it read and stay as before.
constexpr int kBarcodeField = 6;
const QString kBarcodeKey = QStringLiteral("BARCODE");

// The selection column of [POSTCSV]; neither key is in files written before it existed.
const QString kSelNoKey = QStringLiteral("SELNO");
const QString kSelModeKey = QStringLiteral("SELMODE");

FieldStyle readField(const IniFile& ini, const QString& sec, bool postDefault, int n)
{
    FieldStyle f;
    f.fontName = ini.readString(sec, QStringLiteral("FONTNAME"), kDefaultFace);
    f.fontSize = ini.readInteger(sec, QStringLiteral("FONTSIZE"), 10);
    f.tate = ini.readBool(sec, QStringLiteral("TATE"), false);
    f.bold = ini.readBool(sec, QStringLiteral("BOLD"), false);
    f.italic = ini.readBool(sec, QStringLiteral("ITALIC"), false);
    f.alignment = ini.readInteger(sec, QStringLiteral("ALIGNMENT"), 0);
    f.post = ini.readBool(sec, QStringLiteral("POST"), postDefault);
    f.postWaku = ini.readBool(sec, QStringLiteral("POSTWAKU"), false);
    f.top = ini.readInteger(sec, QStringLiteral("TOP"), 10);
    f.left = ini.readInteger(sec, QStringLiteral("LEFT"), 10);
    f.width = ini.readInteger(sec, QStringLiteral("WIDTH"), 80);
    f.visible = ini.readBool(sec, QStringLiteral("VISIBLE"), false);
    f.barcode = n == kBarcodeField && ini.readBool(sec, kBarcodeKey, false);
    f.kansuji = ini.readInteger(sec, QStringLiteral("KANSUJI"), 0);
    f.hyphen = ini.readInteger(sec, QStringLiteral("HYPHEN"), 0);
    f.tcy = ini.readBool(sec, QStringLiteral("TCY"), false);
    f.fit = ini.readBool(sec, QStringLiteral("FIT"), false);
    return f;
}

ImageBox readImage(const IniFile& ini, const QString& sec)
{
    ImageBox b;
    b.path = ini.readString(sec, QStringLiteral("IMGPATH"), QString());
    b.top = ini.readInteger(sec, QStringLiteral("TOP"), 0);
    b.left = ini.readInteger(sec, QStringLiteral("LEFT"), 0);
    b.width = ini.readInteger(sec, QStringLiteral("WIDTH"), 0);
    b.height = ini.readInteger(sec, QStringLiteral("HEIGHT"), 0);
    return b;
}

// Collects the writes of one group; any refused value makes the whole group fail.
class GroupWriter {
public:
    explicit GroupWriter(IniFile& ini) : m_ini(ini) {}
    void str(const QString& sec, const QString& key, const QString& v)
    {
        if (!m_ini.writeString(sec, key, v))
            m_ok = false;
    }
    void integer(const QString& sec, const QString& key, int v) { m_ini.writeInteger(sec, key, v); }
    void boolean(const QString& sec, const QString& key, bool v) { m_ini.writeBool(sec, key, v); }
    // "KEY=1" when on; when off the key goes, so that the file holds it only when it matters.
    void flagWhenOn(const QString& sec, const QString& key, bool v) { valueWhenSet(sec, key, v ? 1 : 0); }
    // The same for a number whose default is 0.
    void valueWhenSet(const QString& sec, const QString& key, int v)
    {
        if (v != 0)
            m_ini.writeInteger(sec, key, v);
        else
            m_ini.deleteKey(sec, key);
    }
    // The key only while the value is not its default, so files of users who never set it
    // stay as they were.
    void integerUnlessDefault(const QString& sec, const QString& key, int v, int byDefault)
    {
        if (v != byDefault)
            m_ini.writeInteger(sec, key, v);
        else
            m_ini.deleteKey(sec, key);
    }
    void real(const QString& sec, const QString& key, double v) { m_ini.writeFloat(sec, key, v); }
    // A text key that older files do not have: written only when it holds something.
    void strUnlessBlank(const QString& sec, const QString& key, const QString& v)
    {
        if (v.trimmed().isEmpty())
            m_ini.deleteKey(sec, key);
        else
            str(sec, key, v);
    }
    bool ok() const { return m_ok; }

private:
    IniFile& m_ini;
    bool m_ok = true;
};

void writeImage(GroupWriter& w, const QString& sec, const ImageBox& b)
{
    w.str(sec, QStringLiteral("IMGPATH"), b.path);
    w.integer(sec, QStringLiteral("TOP"), b.top);
    w.integer(sec, QStringLiteral("LEFT"), b.left);
    w.integer(sec, QStringLiteral("WIDTH"), b.width);
    w.integer(sec, QStringLiteral("HEIGHT"), b.height);
}

void writeField(GroupWriter& w, const QString& sec, const FieldStyle& f, int n)
{
    w.str(sec, QStringLiteral("FONTNAME"), f.fontName);
    w.integer(sec, QStringLiteral("FONTSIZE"), f.fontSize);
    w.boolean(sec, QStringLiteral("TATE"), f.tate);
    w.boolean(sec, QStringLiteral("BOLD"), f.bold);
    w.boolean(sec, QStringLiteral("ITALIC"), f.italic);
    w.integer(sec, QStringLiteral("ALIGNMENT"), f.alignment);
    w.boolean(sec, QStringLiteral("POST"), f.post);
    w.boolean(sec, QStringLiteral("POSTWAKU"), f.postWaku);
    w.integer(sec, QStringLiteral("TOP"), f.top);
    w.integer(sec, QStringLiteral("LEFT"), f.left);
    w.integer(sec, QStringLiteral("WIDTH"), f.width);
    w.boolean(sec, QStringLiteral("VISIBLE"), f.visible);
    if (n == kBarcodeField)
        w.flagWhenOn(sec, kBarcodeKey, f.barcode);
    w.valueWhenSet(sec, QStringLiteral("KANSUJI"), f.kansuji);
    w.valueWhenSet(sec, QStringLiteral("HYPHEN"), f.hyphen);
    w.flagWhenOn(sec, QStringLiteral("TCY"), f.tcy);
    w.flagWhenOn(sec, QStringLiteral("FIT"), f.fit);
}

QString senderJointKey(int i)
{
    return QStringLiteral("REN%1").arg(i + 1);
}
QString jointNameKey(int i)
{
    return QStringLiteral("REN%1NO").arg(i + 1);
}
QString jointHonorificKey(int i)
{
    return QStringLiteral("REN%1KEISNO").arg(i + 1);
}

bool loadForUpdate(IniFile& ini)
{
    // Without the current content a key-by-key update could lose the rest of the file.
    return ini.load();
}

} // namespace

AppSettings& AppSettings::instance()
{
    static AppSettings settings;
    return settings;
}

QByteArray DefaultSettingsFileBytes()
{
    QStringList lines;
    for (int n = 1; n <= kFieldCount; ++n) {
        for (bool postcard : { true, false }) {
            lines << QLatin1Char('[') + fieldSection(postcard, n) + QLatin1Char(']')
                  << QStringLiteral("FONTNAME=") + kDefaultFace
                  << QStringLiteral("FONTSIZE=11") << QStringLiteral("TATE=0")
                  << QStringLiteral("BOLD=0") << QStringLiteral("ITALIC=0")
                  << QStringLiteral("ALIGNMENT=0")
                  << ((postcard && n == 1) ? QStringLiteral("POST=1") : QStringLiteral("POST=0"))
                  << QStringLiteral("POSTWAKU=0")
                  << QStringLiteral("TOP=") + QString::number(n * 10)
                  << QStringLiteral("LEFT=") + QString::number(n * 10)
                  << QStringLiteral("WIDTH=80") << QStringLiteral("VISIBLE=0");
        }
    }
    lines << QStringLiteral("[PAPER]") << QStringLiteral("LEFT=0") << QStringLiteral("TOP=0")
          << QStringLiteral("POSTMARK=1");
    lines << QStringLiteral("[LABEL]") << QStringLiteral("LEFT=0") << QStringLiteral("TOP=0")
          << QStringLiteral("POSTMARK=1") << QStringLiteral("COL=2") << QStringLiteral("ROW=6")
          << QStringLiteral("TOPSP=100") << QStringLiteral("BOTSP=100") << QStringLiteral("LEFSP=80")
          << QStringLiteral("RIGSP=80") << QStringLiteral("TATESP=0") << QStringLiteral("YOKOSP=0");
    lines << QStringLiteral("[MOTO]");
    for (const char* key : { "POST", "ADR1", "ADR2", "MEI1", "MEI2", "TEL", "FAX", "MAIL", "URL" })
        lines << QLatin1String(key) + QStringLiteral("= ");
    lines << QStringLiteral("[POSTCSV]") << QStringLiteral("CSVNAME= ") << QStringLiteral("CSVTEXT= ");
    for (const char* key : { "POSTNO", "ADR1NO", "ADR2NO", "MEI1NO", "MEI2NO", "CBARNO", "KEISNO" })
        lines << QLatin1String(key) + QStringLiteral("=-1");
    lines << QStringLiteral("CSVHEAD=0");

    QByteArray bytes;
    Cp932::encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"), &bytes);
    return bytes;
}

bool WriteDefaultSettingsFile(const QString& path)
{
    return IniFile::writeFileAtomically(path, DefaultSettingsFileBytes());
}

bool WriteDefaultSettingsFile()
{
    return WriteDefaultSettingsFile(AppPaths::settingsFilePath());
}

bool LoadSettings(AppSettings& settings, const QString& path)
{
    const QFileInfo fi(path);
    if (!fi.exists() && !WriteDefaultSettingsFile(path))
        return false;
    IniFile ini(path);
    if (!QFileInfo(path).isFile() || !ini.load())
        return false;

    AppSettings s;
    for (int n = 1; n <= kFieldCount; ++n) {
        s.postcardFields[n - 1] = readField(ini, fieldSection(true, n), n == 1, n);
        s.labelFields[n - 1] = readField(ini, fieldSection(false, n), false, n);
    }
    s.postcardImage = readImage(ini, imageSection(true));
    s.labelImage = readImage(ini, imageSection(false));

    const QString paper = QStringLiteral("PAPER");
    s.postcardOffsetX = ini.readFloat(paper, QStringLiteral("LEFT"));
    s.postcardOffsetY = ini.readFloat(paper, QStringLiteral("TOP"));
    s.postcardPostMark = ini.readBool(paper, QStringLiteral("POSTMARK"), true);

    const QString label = QStringLiteral("LABEL");
    s.labelOffsetX = ini.readFloat(label, QStringLiteral("LEFT"));
    s.labelOffsetY = ini.readFloat(label, QStringLiteral("TOP"));
    s.labelPostMark = ini.readBool(label, QStringLiteral("POSTMARK"), true);
    LabelSheet& sh = s.labelSheet;
    sh.columns = ini.readInteger(label, QStringLiteral("COL"), 2);
    sh.rows = ini.readInteger(label, QStringLiteral("ROW"), 6);
    sh.topMargin = ini.readInteger(label, QStringLiteral("TOPSP"), 100);
    sh.bottomMargin = ini.readInteger(label, QStringLiteral("BOTSP"), 100);
    sh.leftMargin = ini.readInteger(label, QStringLiteral("LEFSP"), 80);
    sh.rightMargin = ini.readInteger(label, QStringLiteral("RIGSP"), 80);
    sh.rowGap = ini.readInteger(label, QStringLiteral("TATESP"), 0);
    sh.columnGap = ini.readInteger(label, QStringLiteral("YOKOSP"), 0);

    const QString moto = QStringLiteral("MOTO");
    const QString blank = QStringLiteral(" ");
    SenderInfo& m = s.sender;
    m.postalCode = ini.readString(moto, QStringLiteral("POST"), blank);
    m.address1 = ini.readString(moto, QStringLiteral("ADR1"), blank);
    m.address2 = ini.readString(moto, QStringLiteral("ADR2"), blank);
    m.name1 = ini.readString(moto, QStringLiteral("MEI1"), blank);
    m.name2 = ini.readString(moto, QStringLiteral("MEI2"), blank);
    m.tel = ini.readString(moto, QStringLiteral("TEL"), blank);
    m.fax = ini.readString(moto, QStringLiteral("FAX"), blank);
    m.mail = ini.readString(moto, QStringLiteral("MAIL"), blank);
    m.url = ini.readString(moto, QStringLiteral("URL"), blank);
    for (int i = 0; i < kSenderJointNames; ++i)
        m.jointNames[i] = ini.readString(moto, senderJointKey(i), QString());

    const QString pc = QStringLiteral("POSTCSV");
    CsvColumnMap& c = s.csv;
    c.fileName = ini.readString(pc, QStringLiteral("CSVNAME"), QString());
    c.textDelimiter = ini.readString(pc, QStringLiteral("CSVTEXT"), QString());
    c.postNo = ini.readInteger(pc, QStringLiteral("POSTNO"), -1);
    c.adr1No = ini.readInteger(pc, QStringLiteral("ADR1NO"), -1);
    c.adr2No = ini.readInteger(pc, QStringLiteral("ADR2NO"), -1);
    c.mei1No = ini.readInteger(pc, QStringLiteral("MEI1NO"), -1);
    c.mei2No = ini.readInteger(pc, QStringLiteral("MEI2NO"), -1);
    c.cbarNo = ini.readInteger(pc, QStringLiteral("CBARNO"), -1);
    c.keisNo = ini.readInteger(pc, QStringLiteral("KEISNO"), -1);
    c.hasHeader = ini.readBool(pc, QStringLiteral("CSVHEAD"), false);
    const int code = ini.readInteger(pc, QStringLiteral("CSVCODE"), 0);
    c.encoding = code == 1 ? CsvEncoding::ShiftJis : code == 2 ? CsvEncoding::Utf8 : CsvEncoding::Auto;
    c.quoted = ini.readBool(pc, QStringLiteral("CSVQUOTE"), false);
    c.selNo = ini.readInteger(pc, kSelNoKey, -1);
    if (c.selNo < 1)
        c.selNo = -1;
    c.selMode = ini.readInteger(pc, kSelModeKey, 0) == 1 ? 1 : 0;
    for (int i = 0; i < kJointNameColumns; ++i) {
        c.renNo[i] = ini.readInteger(pc, jointNameKey(i), -1);
        c.renKeisNo[i] = ini.readInteger(pc, jointHonorificKey(i), -1);
    }

    settings = s;
    return true;
}

bool LoadSettings()
{
    return LoadSettings(AppSettings::instance(), AppPaths::settingsFilePath());
}

bool SaveLayoutSettings(const AppSettings& s, SettingsGroup group, const QString& path)
{
    IniFile ini(path);
    if (!loadForUpdate(ini))
        return false;
    GroupWriter w(ini);
    switch (group) {
    case SettingsGroup::Postcard:
    case SettingsGroup::Label: {
        const bool postcard = group == SettingsGroup::Postcard;
        writeImage(w, imageSection(postcard), postcard ? s.postcardImage : s.labelImage);
        const FieldStyles& fields = postcard ? s.postcardFields : s.labelFields;
        for (int n = 1; n <= kFieldCount; ++n)
            writeField(w, fieldSection(postcard, n), fields[n - 1], n);
        const QString sec = offsetSection(postcard);
        w.real(sec, QStringLiteral("LEFT"), postcard ? s.postcardOffsetX : s.labelOffsetX);
        w.real(sec, QStringLiteral("TOP"), postcard ? s.postcardOffsetY : s.labelOffsetY);
        w.boolean(sec, QStringLiteral("POSTMARK"), postcard ? s.postcardPostMark : s.labelPostMark);
        if (!postcard) {
            const LabelSheet& sh = s.labelSheet;
            w.real(sec, QStringLiteral("COL"), sh.columns);
            w.real(sec, QStringLiteral("ROW"), sh.rows);
            w.integer(sec, QStringLiteral("TOPSP"), sh.topMargin);
            w.integer(sec, QStringLiteral("BOTSP"), sh.bottomMargin);
            w.integer(sec, QStringLiteral("LEFSP"), sh.leftMargin);
            w.integer(sec, QStringLiteral("RIGSP"), sh.rightMargin);
            w.integer(sec, QStringLiteral("TATESP"), sh.rowGap);
            w.integer(sec, QStringLiteral("YOKOSP"), sh.columnGap);
        }
        break;
    }
    case SettingsGroup::Sender: {
        const QString sec = QStringLiteral("MOTO");
        const SenderInfo& m = s.sender;
        w.str(sec, QStringLiteral("POST"), m.postalCode);
        w.str(sec, QStringLiteral("ADR1"), m.address1);
        w.str(sec, QStringLiteral("ADR2"), m.address2);
        w.str(sec, QStringLiteral("MEI1"), m.name1);
        w.str(sec, QStringLiteral("MEI2"), m.name2);
        w.str(sec, QStringLiteral("TEL"), m.tel);
        w.str(sec, QStringLiteral("FAX"), m.fax);
        w.str(sec, QStringLiteral("MAIL"), m.mail);
        w.str(sec, QStringLiteral("URL"), m.url);
        for (int i = 0; i < kSenderJointNames; ++i)
            w.strUnlessBlank(sec, senderJointKey(i), m.jointNames[i]);
        break;
    }
    }
    return w.ok() && ini.save();
}

bool SaveLayoutSettings(SettingsGroup group)
{
    return SaveLayoutSettings(AppSettings::instance(), group, AppPaths::settingsFilePath());
}

bool SaveCsvSettings(const AppSettings& s, const QString& path)
{
    IniFile ini(path);
    if (!loadForUpdate(ini))
        return false;
    GroupWriter w(ini);
    const QString sec = QStringLiteral("POSTCSV");
    const CsvColumnMap& c = s.csv;
    w.str(sec, QStringLiteral("CSVNAME"), c.fileName);
    w.str(sec, QStringLiteral("CSVTEXT"), c.textDelimiter);
    w.integer(sec, QStringLiteral("POSTNO"), c.postNo);
    w.integer(sec, QStringLiteral("ADR1NO"), c.adr1No);
    w.integer(sec, QStringLiteral("ADR2NO"), c.adr2No);
    w.integer(sec, QStringLiteral("MEI1NO"), c.mei1No);
    w.integer(sec, QStringLiteral("MEI2NO"), c.mei2No);
    w.integer(sec, QStringLiteral("CBARNO"), c.cbarNo);
    w.integer(sec, QStringLiteral("KEISNO"), c.keisNo);
    w.boolean(sec, QStringLiteral("CSVHEAD"), c.hasHeader);
    if (c.encoding != CsvEncoding::Auto)
        w.integer(sec, QStringLiteral("CSVCODE"), int(c.encoding));
    else
        ini.deleteKey(sec, QStringLiteral("CSVCODE"));
    if (c.quoted)
        w.boolean(sec, QStringLiteral("CSVQUOTE"), true);
    else
        ini.deleteKey(sec, QStringLiteral("CSVQUOTE"));
    w.integerUnlessDefault(sec, kSelNoKey, c.selNo < 1 ? -1 : c.selNo, -1);
    w.integerUnlessDefault(sec, kSelModeKey, c.selMode, 0);
    for (int i = 0; i < kJointNameColumns; ++i)
        w.integerUnlessDefault(sec, jointNameKey(i), c.renNo[i], -1);
    for (int i = 0; i < kJointNameColumns; ++i)
        w.integerUnlessDefault(sec, jointHonorificKey(i), c.renKeisNo[i], -1);
    return w.ok() && ini.save();
}

bool SaveCsvSettings()
{
    return SaveCsvSettings(AppSettings::instance(), AppPaths::settingsFilePath());
}
