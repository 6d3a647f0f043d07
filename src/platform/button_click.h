// A click on one of the form's buttons, as both toolkits hand it to the core.
#pragma once

#include "platform/toolkit.h"

namespace kv {

// Calls the click handler of `button`; controls that are no button have none.
inline void ClickButton(FormEvents& events, ControlRef button) {
  switch (button.name) {
    case Ctl::Command1:
      events.Command1_Click(button.index);
      break;
    case Ctl::Command2:
      events.Command2_Click();
      break;
    case Ctl::Command3:
      events.Command3_Click(button.index);
      break;
    default:
      break;
  }
}

}  // namespace kv
