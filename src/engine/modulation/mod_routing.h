// One row of a modulation routing table as a layer's settings keep it: the
// menu identifiers of source and target, and how much of the source goes in.
// Thread: edited on the user-interface thread under the instrument's mutex.
#pragma once

struct ModRouting {
  int source = -1;  // source menu identifier, -1 for none
  int target = -1;  // target menu identifier, -1 for none
  bool enabled = false;
  float amount = 0.0f;          // used when amountFromLine is off
  bool amountFromLine = true;   // Modulation line value 6 + row
  bool voiceTarget = true;
};
