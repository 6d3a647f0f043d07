#include "launcher/drive_list.h"

namespace kv::Module1 {
namespace {

const wchar_t* TypeSuffix(unsigned type) {
  switch (type) {
    case kDriveRemovable: return L" [リムーバブル]";
    case kDriveFixed: return L" [ローカルディスク]";
    case kDriveRemote: return L" [ネットワークドライブ]";
    case kDriveCdrom: return L" [CD-ROMドライブ]";
    case kDriveRamdisk: return L" [RAMディスク]";
    default: return L"";
  }
}

}  // namespace

FolderArray GetDriveList(OsServices& os) {
  std::wstring text = os.GetLogicalDriveStrings();
  // Keep up to the last separator: the rest is the buffer's terminating NULs.
  const auto last = text.find_last_of(L"\\/");
  text.resize(last == std::wstring::npos ? 0 : last + 1);

  FolderArray result;
  for (std::size_t start = 0; start < text.size();) {
    auto end = text.find(L'\0', start);
    if (end == std::wstring::npos) end = text.size();
    const std::wstring root = text.substr(start, end - start);
    start = end + 1;
    if (root.empty()) continue;
    FolderEntry e{root, root};
    const std::wstring label = os.GetVolumeLabel(root);
    if (!label.empty()) {
      e.Title = root + L" [" + label + L"]";
    } else {
      e.Title += TypeSuffix(os.GetDriveType(root));
    }
    result.push_back(std::move(e));
  }
  return result;
}

}  // namespace kv::Module1
