#include "platform/x11_keys.h"

namespace platform {
namespace {

// The keysyms used here (X11/keysymdef.h values, which never change).
constexpr xcb_keysym_t kBackSpace = 0xFF08, kTab = 0xFF09, kReturn = 0xFF0D, kEscape = 0xFF1B;
constexpr xcb_keysym_t kHome = 0xFF50, kLeft = 0xFF51, kRight = 0xFF53, kEnd = 0xFF57, kDelete = 0xFFFF;
constexpr xcb_keysym_t kIsoLeftTab = 0xFE20, kKpEnter = 0xFF8D, kKpHome = 0xFF95, kKpLeft = 0xFF96;
constexpr xcb_keysym_t kKpRight = 0xFF98, kKpEnd = 0xFF9C, kKpDelete = 0xFF9F, kKpTab = 0xFF89;
constexpr xcb_keysym_t kUnicodeBase = 0x01000000;

constexpr std::uint16_t kNumLockMask = XCB_MOD_MASK_2;
constexpr std::uint16_t kLevel3Mask = XCB_MOD_MASK_5;

bool IsLowerCaseLetter(xcb_keysym_t k) {
  return (k >= 'a' && k <= 'z') || (k >= 0xDF && k <= 0xFF && k != 0xF7);
}

void AppendUtf8(std::string& out, std::uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The character a keysym types, or 0.
std::uint32_t CharacterOf(xcb_keysym_t k) {
  if ((k >= 0x20 && k <= 0x7E) || (k >= 0xA0 && k <= 0xFF)) return k;  // Latin-1 keysyms are code points
  // The keypad's digits and operators sit 0xFF80 above their characters.
  if ((k >= 0xFFAA && k <= 0xFFB9) || k == 0xFFBD) return k - 0xFF80;
  if (k >= kUnicodeBase + 0xA0 && k <= kUnicodeBase + 0x10FFFF) {
    const std::uint32_t c = k - kUnicodeBase;
    if (c < 0xD800 || c > 0xDFFF) return c;
  }
  return 0;
}

}  // namespace

xcb_keysym_t KeysymForKey(xcb_key_symbols_t* symbols, xcb_keycode_t code, std::uint16_t state) {
  if (symbols == nullptr) return XCB_NO_SYMBOL;
  int column = 0;
  if ((state & kLevel3Mask) != 0 && xcb_key_symbols_get_keysym(symbols, code, 4) != XCB_NO_SYMBOL) column = 4;
  xcb_keysym_t plain = xcb_key_symbols_get_keysym(symbols, code, column);
  xcb_keysym_t shifted = xcb_key_symbols_get_keysym(symbols, code, column + 1);
  if (shifted == XCB_NO_SYMBOL) shifted = plain;
  const bool shift = (state & XCB_MOD_MASK_SHIFT) != 0;
  if ((state & kNumLockMask) != 0 && xcb_is_keypad_key(shifted)) return shift ? plain : shifted;
  bool upper = shift;
  if ((state & XCB_MOD_MASK_LOCK) != 0 && IsLowerCaseLetter(plain)) upper = !upper;
  return upper ? shifted : plain;
}

KeyEvent TranslateKeysym(xcb_keysym_t keysym, std::uint16_t state) {
  KeyEvent e;
  e.control = (state & XCB_MOD_MASK_CONTROL) != 0;
  e.shift = (state & XCB_MOD_MASK_SHIFT) != 0;
  switch (keysym) {
    case kBackSpace: e.key = KeyEvent::kBackspace; return e;
    case kDelete: case kKpDelete: e.key = KeyEvent::kDelete; return e;
    case kLeft: case kKpLeft: e.key = KeyEvent::kLeft; return e;
    case kRight: case kKpRight: e.key = KeyEvent::kRight; return e;
    case kHome: case kKpHome: e.key = KeyEvent::kHome; return e;
    case kEnd: case kKpEnd: e.key = KeyEvent::kEnd; return e;
    case kReturn: case kKpEnter: e.key = KeyEvent::kReturn; return e;
    case kEscape: e.key = KeyEvent::kEscape; return e;
    case kTab: case kIsoLeftTab: case kKpTab: e.key = KeyEvent::kTab; return e;
    default: break;
  }
  if (const std::uint32_t c = CharacterOf(keysym)) {
    e.key = KeyEvent::kCharacter;
    AppendUtf8(e.text, c);
  }
  return e;
}

}  // namespace platform
