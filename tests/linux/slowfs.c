/* A file system that answers nothing in time: every getattr and statfs sleeps. It stands for a
 * share whose server is gone, for the tests of the launcher's drive step. */
#define FUSE_USE_VERSION 31
#include <errno.h>
#include <fuse.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static unsigned stall_seconds(void) {
  const char* s = getenv("SLOWFS_SECONDS");
  return s != NULL && *s != '\0' ? (unsigned)strtoul(s, NULL, 10) : 30u;
}

static int slow_getattr(const char* path, struct stat* st, struct fuse_file_info* fi) {
  (void)fi;
  sleep(stall_seconds());
  memset(st, 0, sizeof *st);
  if (strcmp(path, "/") != 0) return -ENOENT;
  st->st_mode = S_IFDIR | 0755;
  st->st_nlink = 2;
  return 0;
}

static int slow_statfs(const char* path, struct statvfs* sv) {
  (void)path;
  sleep(stall_seconds());
  memset(sv, 0, sizeof *sv);
  return 0;
}

static int slow_readdir(const char* path, void* buf, fuse_fill_dir_t fill, off_t off,
                        struct fuse_file_info* fi, enum fuse_readdir_flags flags) {
  (void)off, (void)fi, (void)flags;
  if (strcmp(path, "/") != 0) return -ENOENT;
  fill(buf, ".", NULL, 0, 0);
  fill(buf, "..", NULL, 0, 0);
  return 0;
}

static const struct fuse_operations ops = {
    .getattr = slow_getattr,
    .statfs = slow_statfs,
    .readdir = slow_readdir,
};

int main(int argc, char* argv[]) { return fuse_main(argc, argv, &ops, NULL); }
