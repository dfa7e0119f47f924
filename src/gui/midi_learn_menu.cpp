#include "gui/midi_learn_menu.h"

#include "params/midi_learn_manager.h"

namespace gui {

PopupMenu BuildMidiLearnMenu(const Parameter& p) {
  PopupMenu menu;
  const MidiLearnManager* manager = p.learnManager();
  if (manager == nullptr) return menu;
  if (manager->learnTarget() == &p) {
    menu.AddItem("Cancel MIDI Learn", kMidiLearnCancel);
  } else {
    menu.AddItem("MIDI Learn (click here, then move MIDI controller to assign it to me)", kMidiLearnStart);
  }
  if (manager->HasMapping(&p)) {
    menu.AddSeparator();
    menu.AddItem("Disconnect from MIDI controller", kMidiLearnDisconnect);
  }
  return menu;
}

void ApplyMidiLearnChoice(Parameter& p, int id) {
  MidiLearnManager* manager = p.learnManager();
  if (manager == nullptr) return;
  switch (id) {
    case kMidiLearnStart:
      manager->SetLearnTarget(&p);
      break;
    case kMidiLearnCancel:
      manager->CancelLearn(&p);
      break;
    case kMidiLearnDisconnect:
      manager->Disconnect(&p);
      break;
    default:
      break;
  }
}

int ShowMidiLearnMenu(Window& window, int x, int y, Parameter& p) {
  const PopupMenu menu = BuildMidiLearnMenu(p);
  if (menu.empty()) return -1;
  const auto choice = menu.Show(window, x, y);
  if (!choice) return -1;
  ApplyMidiLearnChoice(p, choice->id);
  return choice->id;
}

}  // namespace gui
