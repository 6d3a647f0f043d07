// A click on one of the form's buttons, as both toolkits hand it to the core.
#pragma once

#include "platform/toolkit.h"

namespace kv {

// Calls the click handler of `button`; controls that are no button have none.
inline void ClickButton(FormEvents& events, Control button) {
  switch (button) {
    case Control::RegisterButton:
      return events.OnRegister();
    case Control::UpdateButton:
      return events.OnUpdate();
    case Control::RemoveButton:
      return events.OnRemove();
    case Control::BrowseButton:
      return events.OnBrowse();
    case Control::OkButton:
      return events.OnOk();
    case Control::CancelButton:
      return events.OnCancel();
    default:
      return;
  }
}

}  // namespace kv
