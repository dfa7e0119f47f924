// zelvane-render --editor: the plug-in's editor in a top-level X11 window,
// shown as a host shows it. The window is made at the size effEditGetRect
// answers and its id handed to effEditOpen; effEditIdle follows every 40 ms
// until the user closes the window (or interrupts the program), then
// effEditClose. Meanwhile an audio thread plays the sequence over and over
// in real time into nothing, so the editor sees a running instrument. The
// state is saved at the end when the options name a file for it.
// Only this part of the host speaks X11.
// Thread: the caller's thread is the user-interface thread; the session
// runs one audio thread of its own and joins it before returning.
#pragma once

#include "midi_file.h"
#include "render_job.h"

namespace zhost {

constexpr int kEditorClosed = 0;
constexpr int kEditorMissing = 1;   // the plug-in has no editor, or refused to open it
constexpr int kEditorNoDisplay = 2;  // no X display could be opened
constexpr int kEditorIdleMs = 40;

// Answers one of the statuses above, with a message on stderr for the
// failures; throws what RenderJob throws when the plug-in cannot be loaded.
int RunEditorSession(const RenderJobOptions& options, const MidiSequence& sequence);

}  // namespace zhost
