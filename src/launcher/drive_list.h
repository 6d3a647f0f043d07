// The computer's drives as menu entries.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "launcher/drive_queries.h"
#include "platform/os_services.h"
#include "settings/folder_entry.h"
#include "settings/program_state.h"

namespace kv {

// How long the drive step may hold the popup, all drives together. A menu that appears within a
// quarter of a second still feels instant, and every drive that answers at all (a local disk, a
// reachable share, a card reader with or without a card) answers well inside it; a drive still
// silent then is hung, and waiting longer would only freeze the menu.
inline constexpr std::chrono::milliseconds kDriveDeadline{250};

// The drive step, begun: the roots are read and their queries run, and the deadline counts from
// here. A program that knows early that it is the launcher begins it before starting its
// toolkit, so that the wait for a silent drive runs while the toolkit starts.
class DriveStep {
 public:
  explicit DriveStep(OsServices& os);
  // One entry per root in the order the system reports them, element 0 included; a drive whose
  // queries had not answered by the deadline gets the title of a failed query.
  FolderArray Finish() const;

 private:
  DriveStep(OsServices& os, std::chrono::steady_clock::time_point deadline);

  std::vector<std::wstring> roots_;
  DriveQueryRun run_;
};

FolderArray GetDriveList(OsServices& os);
// The step begun early (ctx.EarlyDriveStep) if there is one, else a fresh one.
FolderArray GetDriveList(ProgramState& ctx);

}  // namespace kv
