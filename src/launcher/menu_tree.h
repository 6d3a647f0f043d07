// The launcher menu's rows as plain data: the design-time rows, the rows loaded at run time,
// their captions and visibility. The toolkit only shows the visible rows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/toolkit.h"

namespace kv {

struct MenuRow {
  std::wstring Caption;
  bool Visible = true;
};

class LauncherMenu {
 public:
  // Menu element indices are 16-bit signed integers.
  static constexpr int kMaxIndex = 32767;

  // The design-time rows: the program-name item, the line, the first drive row (index 0) and
  // the first folder row (index 1), all visible, the two array rows without a caption.
  explicit LauncherMenu(std::wstring programNameCaption = L"");

  // Loads the next element of the Drive or Folder array after its last one, visible and
  // without a caption; false when the array already reaches the largest index.
  bool Load(MenuKind array);
  // The element, or null when it is not loaded.
  MenuRow* Element(MenuRef ref);
  // The highest loaded index of the Drive or Folder array.
  int UBound(MenuKind array) const;

  // The visible elements, top to bottom.
  std::vector<PopupItem> VisibleItems() const;

 private:
  struct Array {
    int first;  // the design-time element's index
    std::vector<MenuRow> elements;
  };
  Array* ArrayOf(MenuKind kind);
  const Array* ArrayOf(MenuKind kind) const;

  MenuRow programName_;
  MenuRow line_{L"-"};
  Array drive_{0, {MenuRow{}}};
  Array folder_{1, {MenuRow{}}};
};

}  // namespace kv
