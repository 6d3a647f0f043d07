// The drives' volume queries, run side by side under one deadline.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/os_services.h"

namespace kv {

// What one drive's queries had reported; unset fields were not answered.
struct DriveAnswer {
  std::optional<unsigned> type;
  std::optional<std::wstring> label;
  bool notAFolder = false;
  bool finished = false;
};

struct DriveQueryShared;

class DriveQueryRun {
 public:
  // Starts one thread per query.
  DriveQueryRun(std::vector<DriveQuery> queries, std::chrono::steady_clock::time_point deadline);
  // What each query had reported, in their order, by the time all had finished or the deadline
  // had come, whichever was first. A query still running then is left to itself: nothing waits
  // for it, and what it reports later goes nowhere.
  std::vector<DriveAnswer> Collect() const;

 private:
  std::shared_ptr<DriveQueryShared> shared_;
  std::chrono::steady_clock::time_point deadline_;
};

}  // namespace kv
