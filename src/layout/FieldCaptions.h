#pragma once
// Names of the fifteen layout fields as the layout editor shows them: the field-name read-out
// of the selected field and the print-item toggle buttons (their object names and captions).

#include <QString>

namespace FieldCaptions {

// The read-out text for field 1..15 ("郵便番号", "住所１", ..., "URL(差出人)"); the label form
// calls field 6 "ｶｽﾀﾏﾊﾞｰｺｰﾄﾞ" where the postcard says "備　考". Empty outside 1..15.
QString caption(int field, bool labelForm = false);

// The toggle button of field 1..15: its object name ("ssbSPost", ..., "ssbMUrl") and caption
// ("郵便番号", "住 所 1", ...). Empty outside 1..15.
QString toggleName(int field);
QString toggleCaption(int field);

} // namespace FieldCaptions
