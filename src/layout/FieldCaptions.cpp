#include "layout/FieldCaptions.h"

namespace FieldCaptions {
namespace {

struct Entry {
    const char16_t* caption;
    const char* toggle;
    const char16_t* toggleCaption;
};

// Full-width digits in the read-out, half-width digits and spaces on the buttons.
const Entry kFields[15] = {
    {u"郵便番号", "ssbSPost", u"郵便番号"},
    {u"住所１", "ssbSAdr1", u"住 所 1"},
    {u"住所２", "ssbSAdr2", u"住 所 2"},
    {u"名称１", "ssbSMei1", u"名 称 1"},
    {u"名称２", "ssbSMei2", u"名 称 2"},
    {u"備　考", "ssbSCBar", u"Cﾊﾞｰｺｰﾄﾞ"},
    {u"郵便番号(差出人)", "ssbMPost", u"郵便番号"},
    {u"住所１(差出人)", "ssbMAdr1", u"住 所 1"},
    {u"住所２(差出人)", "ssbMAdr2", u"住 所 2"},
    {u"名称１(差出人)", "ssbMMei1", u"名 称 1"},
    {u"名称２(差出人)", "ssbMMei2", u"名 称 2"},
    {u"TEL(差出人)", "ssbMTel", u"電話番号"},
    {u"FAX(差出人)", "ssbMFax", u"FAX番号"},
    {u"メール(差出人)", "ssbMMail", u"Ｅメール"},
    {u"URL(差出人)", "ssbMUrl", u"Ｕ Ｒ Ｌ"},
};

const Entry* entry(int field)
{
    return field >= 1 && field <= 15 ? &kFields[field - 1] : nullptr;
}

} // namespace

QString caption(int field, bool labelForm)
{
    if (labelForm && field == 6)
        return QStringLiteral("ｶｽﾀﾏﾊﾞｰｺｰﾄﾞ");
    const Entry* e = entry(field);
    return e ? QString::fromUtf16(e->caption) : QString();
}

QString toggleName(int field)
{
    const Entry* e = entry(field);
    return e ? QString::fromLatin1(e->toggle) : QString();
}

QString toggleCaption(int field)
{
    const Entry* e = entry(field);
    return e ? QString::fromUtf16(e->toggleCaption) : QString();
}

} // namespace FieldCaptions
