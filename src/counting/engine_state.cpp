#include "counting/engine_state.h"

namespace vorn {

void EngineState::SetLabel(Label label, const std::string& text, bool visible) {
  LabelState& l = labels[static_cast<int>(label)];
  if (l.text == text && l.visible == visible) return;
  l.text = text;
  l.visible = visible;
  host->LabelChanged(label, text, visible);
}

void EngineState::HideLabel(Label label) {
  LabelState& l = labels[static_cast<int>(label)];
  SetLabel(label, l.text, false);
}

void EngineState::SetBusy(Busy b) {
  if (busy == b) return;
  busy = b;
  host->BusyChanged(b);
}

}  // namespace vorn
