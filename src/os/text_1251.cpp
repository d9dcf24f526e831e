#include <cstdint>

#include "text.h"

namespace os {
namespace {

// Code points of the bytes 0x80 to 0xBF; the unassigned 0x98 stands for the control U+0098, as
// in the platform's table. From 0xC0 on the code page holds А to я in order.
constexpr char16_t kUpperHalf[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

char ToCp1251(uint32_t code) {
  if (code < 0x80)
    return static_cast<char>(code);
  if (code >= 0x0410 && code <= 0x044F)
    return static_cast<char>(0xC0 + (code - 0x0410));
  for (unsigned i = 0; i < 64; ++i) {
    if (kUpperHalf[i] == code)
      return static_cast<char>(0x80 + i);
  }
  return '?';
}

// Length of the UTF-8 sequence that `lead` starts, 0 for a byte that starts none.
unsigned SequenceLength(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF)
    return 2;
  if (lead >= 0xE0 && lead <= 0xEF)
    return 3;
  if (lead >= 0xF0 && lead <= 0xF4)
    return 4;
  return 0;
}

}  // namespace

void AppendUtf8AsCp1251(const std::string& text, std::string* out) {
  out->reserve(out->size() + text.size());
  const std::size_t size = text.size();
  for (std::size_t i = 0; i < size;) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      out->push_back(static_cast<char>(lead));
      ++i;
      continue;
    }
    const unsigned length = SequenceLength(lead);
    uint32_t code = lead & (0x7F >> length);
    unsigned taken = 1;
    while (length > 0 && taken < length && i + taken < size &&
           (static_cast<unsigned char>(text[i + taken]) & 0xC0) == 0x80) {
      code = (code << 6) | (static_cast<unsigned char>(text[i + taken]) & 0x3F);
      ++taken;
    }
    // Overlong forms, surrogates and code points beyond Unicode are not characters.
    const uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool whole = length > 0 && taken == length && code >= least[length] &&
                       !(code >= 0xD800 && code <= 0xDFFF) && code <= 0x10FFFF;
    out->push_back(whole ? ToCp1251(code) : '?');
    i += taken;
  }
}

std::string Utf8ToCp1251(const std::string& text) {
  std::string out;
  AppendUtf8AsCp1251(text, &out);
  return out;
}

}  // namespace os
