#include "launcher/drive_list.h"

namespace kv {
namespace {

const wchar_t* TypeSuffix(unsigned type) {
  switch (type) {
    case kDriveRemovable:
      return L" [リムーバブル]";
    case kDriveFixed:
      return L" [ローカルディスク]";
    case kDriveRemote:
      return L" [ネットワークドライブ]";
    case kDriveCdrom:
      return L" [CD-ROMドライブ]";
    case kDriveRamdisk:
      return L" [RAMディスク]";
    default:
      return L"";
  }
}

std::vector<std::wstring> Roots(std::wstring text) {
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
  return roots;
}

std::vector<DriveQuery> Queries(OsServices& os, const std::vector<std::wstring>& roots) {
  std::vector<DriveQuery> queries;
  queries.reserve(roots.size());
  for (const auto& root : roots) queries.push_back(os.MakeDriveQuery(root));
  return queries;
}

}  // namespace

// The deadline is taken before the enumeration: that is part of what the user waits for too.
DriveStep::DriveStep(OsServices& os)
    : DriveStep(os, std::chrono::steady_clock::now() + kDriveDeadline) {}

DriveStep::DriveStep(OsServices& os, std::chrono::steady_clock::time_point deadline)
    : roots_(Roots(os.GetLogicalDriveStrings())), run_(Queries(os, roots_), deadline) {}

FolderArray DriveStep::Finish() const {
  const std::vector<DriveAnswer> answers = run_.Collect();
  FolderArray result;
  for (std::size_t i = 0; i < roots_.size(); ++i) {
    const DriveAnswer& a = answers[i];
    if (a.notAFolder) continue;
    // Whatever did not answer in time counts as failed: no label, and the type only if known.
    FolderEntry e{roots_[i], roots_[i]};
    if (a.label && !a.label->empty()) {
      e.Title = roots_[i] + L" [" + *a.label + L"]";
    } else if (a.type) {
      e.Title += TypeSuffix(*a.type);
    }
    result.push_back(std::move(e));
  }
  return result;
}

FolderArray GetDriveList(OsServices& os) { return DriveStep(os).Finish(); }

FolderArray GetDriveList(ProgramState& ctx) {
  if (!ctx.EarlyDriveStep) return GetDriveList(ctx.os);
  const auto step = std::move(ctx.EarlyDriveStep);
  return step->Finish();
}

}  // namespace kv
