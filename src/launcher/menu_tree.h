// The launcher popup's menu tree as plain data: the design-time elements, the elements loaded
// at run time, their captions and visibility. The toolkit only shows the visible rows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/toolkit.h"

namespace kv {

struct MenuElement {
  std::wstring Caption;
  bool Visible = true;
};

class MenuTree {
 public:
  // Menu element indices are 16-bit signed integers.
  static constexpr int kMaxIndex = 32767;

  // The design-time tree: the program-name item, the line, Menu_Drive(0) and Menu_Folder(1),
  // all visible, the two array elements without a caption.
  explicit MenuTree(std::wstring programNameCaption = L"");

  // Loads the next element of the Drive or Folder array after its last one, visible and
  // without a caption; false when the array already reaches the largest index.
  bool Load(MenuKind array);
  // The element, or null when it is not loaded.
  MenuElement* Element(MenuRef ref);
  // The highest loaded index of the Drive or Folder array.
  int UBound(MenuKind array) const;

  // The visible elements, top to bottom.
  std::vector<PopupItem> VisibleItems() const;

 private:
  struct Array {
    int first;  // the design-time element's index
    std::vector<MenuElement> elements;
  };
  Array* ArrayOf(MenuKind kind);
  const Array* ArrayOf(MenuKind kind) const;

  MenuElement programName_;
  MenuElement line_{L"-"};
  Array drive_{0, {MenuElement{}}};
  Array folder_{1, {MenuElement{}}};
};

}  // namespace kv
