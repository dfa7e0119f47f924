#include "engine/modulation/routing_table.h"

void RoutingTable::SetSource(int r, int id) {
  ModRouting& row = this->row(r);
  row.source = nullptr;
  row.sourceOutput = -1;
  if (r >= kFirstPerformRow && r < kPitchBendRow) {
    // A perform row always reads its own pad: X on odd rows, Y on even.
    if (id < 0) return;
    const int pad = (r - kFirstPerformRow) / 2;
    row.source = context_.performSource[pad];
    row.sourceOutput = (r - kFirstPerformRow) % 2;
    return;
  }
  switch (id) {
    case 0:
    case 1:
      row.source = context_.lfoSource[id], row.sourceOutput = 0;
      break;
    case 2: case 3: case 4: case 5:
      row.source = context_.performSource[id - 2], row.sourceOutput = 0;
      break;
    case 6: case 7: case 8: case 9:
      row.source = context_.performSource[id - 6], row.sourceOutput = 1;
      break;
    case 10:
      row.source = context_.modWheel, row.sourceOutput = 0;
      break;
    case 11:
      row.source = context_.aftertouch, row.sourceOutput = 0;
      break;
    case 12:
      row.source = context_.voiceSource, row.sourceOutput = 0;
      break;
    case 13:
      row.source = context_.voiceSource, row.sourceOutput = 1;
      break;
    default:
      break;
  }
  if (row.source == nullptr) row.sourceOutput = -1;
}

void RoutingTable::SetTarget(int r, int id) {
  ModRouting& row = this->row(r);
  row.target = nullptr;
  row.targetInput = -1;
  row.voiceTarget = true;
  if (id >= 0 && id <= 6) {
    row.target = context_.voiceTarget;
    row.targetInput = id;
  } else if (id >= 7 && id <= 10) {
    // 7 LFO1 rate, 8 LFO1 depth, 9 LFO2 rate, 10 LFO2 depth.
    row.target = context_.lfoTarget[(id - 7) / 2];
    row.targetInput = (id - 7) % 2 == 0 ? 1 : 0;
    row.voiceTarget = false;
  }
  if (row.target == nullptr) row.targetInput = -1;
}

void RoutingTable::Prepare(ModRouting& r, int frames) {
  ZModValues& out = r.source->output(r.sourceOutput);
  if (!out.computed) {
    out.computed = true;
    out.Clear();
    r.source->ComputeOutput(out, frames, r.sourceOutput);
  }
  ZModValues& in = r.target->input(r.targetInput);
  if (!in.computed) {
    in.computed = true;
    in.Clear();
    in.Append(0.0f, 0.0f);
    in.Append(static_cast<float>(frames), 0.0f);
  }
}

void RoutingTable::Accumulate(int index, ModRouting& r, const Envelope& modulationLine) {
  ZModValues& source = r.source->output(r.sourceOutput);
  amount_.Clear();
  if (r.amountFromLine) {
    const int column = kFirstAmountValue + index;
    amount_.ColumnExtract(modulationLine, column, column);
    amount_.MultiplyBy(source);
  } else {
    amount_.CopyFrom(source);
    for (int i = 0; i < amount_.size(); ++i) amount_[i].values[0] *= r.amount;
  }
  ZModValues& in = r.target->input(r.targetInput);
  in.Add(amount_);
  in.hasModulation = true;
  r.target->InputChanged(r.targetInput);
}

void RoutingTable::Evaluate(int frames, const Envelope& modulationLine) {
  for (ModRouting& r : rows_) {
    if (Active(r)) {
      r.source->output(r.sourceOutput).computed = false;
      ZModValues& in = r.target->input(r.targetInput);
      in.computed = false;
      in.hasModulation = false;
    } else if (r.target != nullptr && r.targetInput >= 0) {
      r.target->input(r.targetInput).hasModulation = false;
    }
  }
  for (bool voicePass : {false, true}) {
    for (ModRouting& r : rows_) {
      if (Active(r) && r.voiceTarget == voicePass) Prepare(r, frames);
    }
    for (int i = 0; i < kRows; ++i) {
      ModRouting& r = rows_[static_cast<std::size_t>(i)];
      if (Active(r) && r.voiceTarget == voicePass) Accumulate(i, r, modulationLine);
    }
  }
}

std::string ZGetModTargetName(int id) {
  static const char* const kNames[] = {"Osc Amp.",     "Osc Pitch",    "Osc Pan",
                                       "Vector X",     "Vector Y",     "Filter Freq.",
                                       "Filter Res."};
  if (id == -1) return "<None>";
  if (id >= 0 && id <= 6) return kNames[id];
  return "Error in ZGetModTargetName";
}
