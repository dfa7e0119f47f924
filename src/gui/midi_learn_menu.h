// The MIDI learn menu of a learnable parameter: learn (or cancel learning)
// and, once the parameter has a controller, disconnect it. Acts on the
// parameter's own MidiLearnManager.
// Thread: user-interface thread.
#pragma once

#include "gui/popup_menu.h"

class Parameter;

namespace gui {

class Window;

enum MidiLearnMenuId { kMidiLearnStart = 0, kMidiLearnCancel = 1, kMidiLearnDisconnect = 2 };

// The menu as it stands for p now; empty when p has no learn manager.
PopupMenu BuildMidiLearnMenu(const Parameter& p);
// Does what the item of that id does to p.
void ApplyMidiLearnChoice(Parameter& p, int id);
// Shows the menu at (x, y) of window and acts on the choice; answers the
// chosen id, or -1 when dismissed or when p is not learnable.
int ShowMidiLearnMenu(Window& window, int x, int y, Parameter& p);

}  // namespace gui
