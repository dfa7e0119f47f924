// Our own host's private requests to the plug-in's editor, sent through
// effVendorSpecific with index kTag: open the editor without a display (for
// screenshots and tests through the library), let its time pass, click it,
// and write its image. Other hosts never send the tag; without it the
// opcode keeps its default answer.
// Thread: user-interface thread.
#pragma once

#include "shell/vst2_abi.h"

namespace editor_commands {

inline constexpr vst2::VstInt32 kTag = vst2::FourCC('Z', 'v', 'E', 'd');

enum Command : vst2::VstIntPtr {
  kOpenHeadless = 1,  // answers 1 when the editor opened
  kAdvance = 2,       // opt: milliseconds to let pass
  kClick = 3,         // ptr: int[2] {x, y} in the editor; a left click
  kWritePng = 4,      // ptr: a zero-terminated path; answers 1 when written
  kSelectPage = 5,    // opt: page 0, 1 or 2
};

}  // namespace editor_commands
