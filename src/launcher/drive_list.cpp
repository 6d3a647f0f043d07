#include "launcher/drive_list.h"

#include "launcher/drive_queries.h"

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
  // The deadline counts from here: the enumeration is part of what the user waits for.
  const auto deadline = std::chrono::steady_clock::now() + kDriveDeadline;
  std::wstring text = os.GetLogicalDriveStrings();
  // Keep up to the last separator: the rest is the buffer's terminating NULs.
  const auto last = text.find_last_of(L"\\/");
  text.resize(last == std::wstring::npos ? 0 : last + 1);

  std::vector<std::wstring> roots;
  for (std::size_t start = 0; start < text.size();) {
    auto end = text.find(L'\0', start);
    if (end == std::wstring::npos) end = text.size();
    if (end > start) roots.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  std::vector<DriveQuery> queries;
  queries.reserve(roots.size());
  for (const auto& root : roots) queries.push_back(os.MakeDriveQuery(root));
  const std::vector<DriveAnswer> answers = RunDriveQueries(std::move(queries), deadline);

  FolderArray result;
  for (std::size_t i = 0; i < roots.size(); ++i) {
    const DriveAnswer& a = answers[i];
    if (a.notAFolder) continue;
    // Whatever did not answer in time counts as failed: no label, and the type only if known.
    FolderEntry e{roots[i], roots[i]};
    if (a.label && !a.label->empty()) {
      e.Title = roots[i] + L" [" + *a.label + L"]";
    } else if (a.type) {
      e.Title += TypeSuffix(*a.type);
    }
    result.push_back(std::move(e));
  }
  return result;
}

}  // namespace kv::Module1
