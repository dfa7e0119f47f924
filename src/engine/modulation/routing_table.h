// A voice's eighteen routing rows: five rows of the modulation matrix, twelve
// perform-pad rows and the pitch-bend row; the menu identifiers that name
// sources and targets, and the per-block evaluation that fills the targets'
// inputs. Thread: audio thread (evaluation); rows are set under the
// instrument's mutex.
#pragma once

#include <array>
#include <string>

#include "engine/modulation/mod_routing.h"

class PerformModSource;

// Where the identifiers of one voice lead.
struct ModulationContext {
  ZModSource* lfoSource[2] = {nullptr, nullptr};
  ZModTarget* lfoTarget[2] = {nullptr, nullptr};
  ZModSource* voiceSource = nullptr;  // output 0 velocity, 1 note number
  ZModTarget* voiceTarget = nullptr;  // the seven voice inputs
  ZModSource* performSource[6] = {};
  ZModSource* modWheel = nullptr;
  ZModSource* aftertouch = nullptr;
};

// Voice inputs, as the target identifiers 0..6 name them.
enum VoiceInput { kOscAmp = 0, kOscPitch, kOscPan, kVectorX, kVectorY, kFilterFreq, kFilterRes };

class RoutingTable {
 public:
  static constexpr int kRows = 18;
  static constexpr int kMatrixRows = 5;
  static constexpr int kFirstPerformRow = 5;
  static constexpr int kPitchBendRow = 17;
  // The Modulation line holds the amount of row r at value 6 + r.
  static constexpr int kFirstAmountValue = 6;

  explicit RoutingTable(const ModulationContext& context) : context_(context) {}

  ModRouting& row(int r) { return rows_[static_cast<std::size_t>(r)]; }
  // Resolve a menu identifier into row r; -1 clears that end.
  void SetSource(int r, int id);
  void SetTarget(int r, int id);

  // Fills the targets' inputs for a block of frames, computing each source
  // once, LFO targets before voice targets.
  void Evaluate(int frames, const Envelope& modulationLine);

 private:
  void Prepare(ModRouting& r, int frames);
  void Accumulate(int index, ModRouting& r, const Envelope& modulationLine);
  bool Active(const ModRouting& r) const {
    return r.enabled && r.source != nullptr && r.target != nullptr && r.sourceOutput >= 0 &&
           r.targetInput >= 0;
  }

  ModulationContext context_;
  std::array<ModRouting, kRows> rows_{};
  ZModValues amount_{1};
};

// The display name of a target identifier.
std::string ZGetModTargetName(int id);
