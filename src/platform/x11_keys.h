// Key presses of the X server as the platform's key events: the keysym a
// key code means under the pressed modifiers, and its meaning for text
// entry (characters as UTF-8, the editing keys, everything else kOther).
// Thread: any (pure functions; the keysym table belongs to its connection).
#pragma once

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <cstdint>

#include "platform/platform.h"

namespace platform {

// Shift and Caps Lock choose the second column, Num Lock (Mod2 on every
// usual server) the keypad's digits, AltGr (Mod5) the third level.
xcb_keysym_t KeysymForKey(xcb_key_symbols_t* symbols, xcb_keycode_t code, std::uint16_t state);

KeyEvent TranslateKeysym(xcb_keysym_t keysym, std::uint16_t state);

}  // namespace platform
