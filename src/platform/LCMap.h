#pragma once
// Half-width / full-width and case mapping as the Windows locale mapping (LCMapString with
// a Japanese locale) does it:
//   - ASCII 0x21..0x7E <-> full-width forms U+FF01..U+FF5E; space <-> ideographic space U+3000;
//     ¢ £ ¬ ¯ ¦ ¥ ₩ <-> ￠ ￡ ￢ ￣ ￤ ￥ ￦
//   - katakana <-> half-width katakana, voiced and semi-voiced syllables included
//     (ガ <-> ｶﾞ, パ <-> ﾊﾟ, ヴ <-> ｳﾞ), and 。「」、・ー゛゜ <-> ｡｢｣､･ｰﾞﾟ
//   - hiragana, kanji and everything else keep their width (there is no other form).
// The lengths of input and output may differ (ガ is two half-width characters).

#include <QString>

namespace LCMap {

enum Flag : unsigned {
    HalfWidth = 0x1, // LCMAP_HALFWIDTH
    FullWidth = 0x2, // LCMAP_FULLWIDTH
    UpperCase = 0x4, // LCMAP_UPPERCASE
    LowerCase = 0x8, // LCMAP_LOWERCASE
};

// Applies the mappings named by flags. HalfWidth with FullWidth, or UpperCase with
// LowerCase, is refused as LCMapString refuses it: the text comes back unchanged.
QString map(const QString& text, unsigned flags);

inline QString halfWidth(const QString& text) { return map(text, HalfWidth); }
inline QString fullWidth(const QString& text) { return map(text, FullWidth); }

} // namespace LCMap
