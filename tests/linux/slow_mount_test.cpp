// The real drive step beside a FUSE mount that never answers (slowfs): one deadline, and the
// mount listed with the title of a failed query.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "launcher/drive_list.h"
#include "os_linux.h"
#include "temp_dir.h"

namespace kv::lnx {
namespace {

using namespace std::chrono_literals;

bool Mounted(const std::string& dir) {
  return kv::testing::ReadBytes("/proc/self/mountinfo").find(" " + dir + " ") != std::string::npos;
}

class SlowMount : public ::testing::Test {
 protected:
  void SetUp() override {
    const int fuse = ::open("/dev/fuse", O_RDWR);
    if (fuse < 0) GTEST_SKIP() << "no /dev/fuse here";
    ::close(fuse);
    mountPoint_ = dir_.path() + "/slow";
    ASSERT_EQ(::mkdir(mountPoint_.c_str(), 0755), 0);
    daemon_ = ::fork();
    ASSERT_GE(daemon_, 0);
    if (daemon_ == 0) {
      ::prctl(PR_SET_PDEATHSIG, SIGKILL);  // never outlives a crashed test
      ::execl(KV_SLOWFS, "slowfs", "-f", mountPoint_.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    for (int i = 0; i < 100 && !Mounted(mountPoint_); ++i) std::this_thread::sleep_for(50ms);
    ASSERT_TRUE(Mounted(mountPoint_)) << "slowfs did not mount";
  }
  // The daemon's end aborts the connection, so the query still blocked in it fails at once;
  // then the mount point is detached and the scratch folder can go.
  void TearDown() override {
    if (daemon_ > 0) {
      ::kill(daemon_, SIGKILL);
      ::waitpid(daemon_, nullptr, 0);
    }
    if (!mountPoint_.empty() && Mounted(mountPoint_)) {
      const std::string cmd = "fusermount3 -u -z '" + mountPoint_ + "' 2>/dev/null";
      EXPECT_EQ(std::system(cmd.c_str()), 0);
    }
  }

  kv::testing::TempDir dir_;
  std::string mountPoint_;
  pid_t daemon_ = -1;
};

TEST_F(SlowMount, IsListedWithTheFailedQueryTitleWithinTheDeadline) {
  LinuxOsServices os({dir_.path(), dir_.path()}, lnx::RealMachine(), "/proc/self/mountinfo");
  const auto start = std::chrono::steady_clock::now();
  const FolderArray list = GetDriveList(os);
  EXPECT_LT(std::chrono::steady_clock::now() - start, kDriveDeadline + 300ms);
  const std::wstring root = std::wstring(mountPoint_.begin(), mountPoint_.end()) + L"/";
  const auto it =
      std::find_if(list.begin(), list.end(), [&](const FolderEntry& e) { return e.Path == root; });
  ASSERT_NE(it, list.end()) << "the hung mount is missing";
  // Its table entry (fuse.slowfs) tells no kind, and nothing else answered.
  EXPECT_EQ(it->Title, root);
  EXPECT_EQ(list.front().Path, L"/");
}

}  // namespace
}  // namespace kv::lnx
