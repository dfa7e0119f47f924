// Key presses as text entry sees them: the keysym a key means under Shift,
// Caps Lock, Num Lock and AltGr on the server's real keyboard map, and what
// each keysym types.
#include "platform/x11_keys.h"
#include "x11_fixture.h"

namespace {

using platform::KeyEvent;

TEST(X11Keys, KeysymsTypeTheirCharactersAsUtf8OrAreEditingKeys) {
  struct Case {
    xcb_keysym_t keysym;
    KeyEvent::Key key;
    std::string text;
  };
  const Case cases[] = {
      {'a', KeyEvent::kCharacter, "a"},
      {' ', KeyEvent::kCharacter, " "},
      {0xE9, KeyEvent::kCharacter, "\xC3\xA9"},             // eacute, Latin-1
      {0xFFB7, KeyEvent::kCharacter, "7"},                  // KP_7
      {0xFFAE, KeyEvent::kCharacter, "."},                  // KP_Decimal
      {0x10020AC, KeyEvent::kCharacter, "\xE2\x82\xAC"},    // the euro sign as a Unicode keysym
      {0x101F600, KeyEvent::kCharacter, "\xF0\x9F\x98\x80"},
      {0xFF0D, KeyEvent::kReturn, ""},
      {0xFF8D, KeyEvent::kReturn, ""},  // KP_Enter
      {0xFE20, KeyEvent::kTab, ""},     // ISO_Left_Tab, Shift+Tab
      {0xFF9F, KeyEvent::kDelete, ""},  // KP_Delete
      {0xFF1B, KeyEvent::kEscape, ""},
      {0xFFBE, KeyEvent::kOther, ""},  // F1
      {0x7F, KeyEvent::kOther, ""},    // not a printable character
  };
  for (const Case& c : cases) {
    const KeyEvent e = platform::TranslateKeysym(c.keysym, 0);
    EXPECT_EQ(e.key, c.key) << std::hex << c.keysym;
    EXPECT_EQ(e.text, c.text) << std::hex << c.keysym;
  }
  const KeyEvent shifted = platform::TranslateKeysym('A', XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL);
  EXPECT_TRUE(shifted.shift);
  EXPECT_TRUE(shifted.control);
}

TEST_F(X11Test, ModifiersChooseTheKeysymOfAKey) {
  xcb_key_symbols_t* symbols = x11->connection().keySymbols();
  auto code = [&](xcb_keysym_t k) {
    xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, k);
    const xcb_keycode_t c = codes != nullptr ? codes[0] : 0;
    std::free(codes);
    return c;
  };
  const xcb_keycode_t a = code('a'), one = code('1'), kp7 = code(0xFF95);  // KP_Home, KP_7 with Num Lock
  ASSERT_NE(a, 0);
  ASSERT_NE(one, 0);
  ASSERT_NE(kp7, 0);
  EXPECT_EQ(platform::KeysymForKey(symbols, a, 0), xcb_keysym_t{'a'});
  EXPECT_EQ(platform::KeysymForKey(symbols, a, XCB_MOD_MASK_SHIFT), xcb_keysym_t{'A'});
  EXPECT_EQ(platform::KeysymForKey(symbols, a, XCB_MOD_MASK_LOCK), xcb_keysym_t{'A'});
  EXPECT_EQ(platform::KeysymForKey(symbols, a, XCB_MOD_MASK_LOCK | XCB_MOD_MASK_SHIFT), xcb_keysym_t{'a'});
  EXPECT_EQ(platform::KeysymForKey(symbols, one, XCB_MOD_MASK_LOCK), xcb_keysym_t{'1'}) << "Caps Lock is for letters";
  EXPECT_EQ(platform::KeysymForKey(symbols, one, XCB_MOD_MASK_SHIFT), xcb_keysym_t{'!'});
  EXPECT_EQ(platform::KeysymForKey(symbols, kp7, 0), xcb_keysym_t{0xFF95});
  EXPECT_EQ(platform::KeysymForKey(symbols, kp7, XCB_MOD_MASK_2), xcb_keysym_t{0xFFB7});
  EXPECT_EQ(platform::KeysymForKey(symbols, kp7, XCB_MOD_MASK_2 | XCB_MOD_MASK_SHIFT), xcb_keysym_t{0xFF95});
}

}  // namespace
