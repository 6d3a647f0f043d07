// One registered folder or drive, and the 0-based lists that hold them.
#pragma once

#include <string>
#include <vector>

namespace kv {

struct FolderEntry {
  std::wstring Title;
  std::wstring Path;
  friend bool operator==(const FolderEntry&, const FolderEntry&) = default;
};

// Lower bound 0. For FolderList and EditList element 0 is never used, so an empty list
// still holds that one element and has upper bound 0.
using FolderArray = std::vector<FolderEntry>;

inline int UBound(const FolderArray& a) { return static_cast<int>(a.size()) - 1; }
inline FolderArray EmptyFolderList() { return FolderArray(1); }

}  // namespace kv
