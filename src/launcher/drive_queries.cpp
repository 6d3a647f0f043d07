// One detached thread per drive; the waiting side and the threads share one heap block.
//
// Why detached and never joined: a query stuck in the kernel (a share whose server is gone, a
// hung FUSE daemon) may never return, and joining it would hold the menu or the program's end.
// Why nothing static: an abandoned thread can still be running while the program ends. Its
// state is the shared block below plus the copies inside its query, all freed by whoever lets go
// last, so the program's exit never destroys anything under it. The process's end takes the
// thread down with it: Windows ends it in ExitProcess; Linux kills it at once unless it waits on
// a request a FUSE daemon has already taken, which the kernel lets finish (or fail when the
// daemon goes) before the process is finally gone, though nothing of it shows by then.
#include "launcher/drive_queries.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace kv {

struct DriveQueryShared {
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<DriveAnswer> answers;
  std::size_t running = 0;
};

namespace {

class Report final : public DriveReport {
 public:
  Report(std::shared_ptr<DriveQueryShared> run, std::size_t index)
      : run_(std::move(run)), index_(index) {}

  void Type(unsigned type) override {
    std::lock_guard lock(run_->mutex);
    run_->answers[index_].type = type;
  }
  void Label(std::wstring label) override {
    std::lock_guard lock(run_->mutex);
    run_->answers[index_].label = std::move(label);
  }
  void NotAFolder() override {
    std::lock_guard lock(run_->mutex);
    run_->answers[index_].notAFolder = true;
  }
  void Finish() {
    std::lock_guard lock(run_->mutex);
    run_->answers[index_].finished = true;
    --run_->running;
    run_->changed.notify_all();
  }

 private:
  std::shared_ptr<DriveQueryShared> run_;
  std::size_t index_;
};

}  // namespace

DriveQueryRun::DriveQueryRun(std::vector<DriveQuery> queries,
                             std::chrono::steady_clock::time_point deadline)
    : shared_(std::make_shared<DriveQueryShared>()), deadline_(deadline) {
  const auto& run = shared_;
  run->answers.resize(queries.size());
  for (std::size_t i = 0; i < queries.size(); ++i) {
    if (!queries[i]) continue;
    {
      std::lock_guard lock(run->mutex);
      ++run->running;
    }
    try {
      std::thread([report = Report(run, i), query = std::move(queries[i])]() mutable {
        // A query that throws has failed like one the system refused.
        try {
          query(report);
        } catch (...) {
        }
        report.Finish();
      }).detach();
    } catch (const std::system_error&) {
      // No thread to be had: the drive keeps the title of a failed query.
      std::lock_guard lock(run->mutex);
      --run->running;
    }
  }
}

std::vector<DriveAnswer> DriveQueryRun::Collect() const {
  std::unique_lock lock(shared_->mutex);
  shared_->changed.wait_until(lock, deadline_, [this] { return shared_->running == 0; });
  return shared_->answers;
}

}  // namespace kv
