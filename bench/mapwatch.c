/* Runs a command and prints, on one line, the milliseconds from its start to the first window it
 * maps on the X server and its peak resident memory in KiB; then ends it.
 * usage: mapwatch [-o | -t] [-w seconds] command [args...]
 *   -o  wait for an override-redirect window (a popup menu)
 *   -t  wait for a window that is not override-redirect (a top-level window)
 * The display must be private to the measurement: any client's window counts. */
#define _GNU_SOURCE
#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double Now(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

int main(int argc, char** argv) {
  int want = -1; /* -1: any, 1: override-redirect, 0: not */
  double limit = 30e3;
  int i = 1;
  for (; i < argc && argv[i][0] == '-'; ++i) {
    if (strcmp(argv[i], "-o") == 0)
      want = 1;
    else if (strcmp(argv[i], "-t") == 0)
      want = 0;
    else if (strcmp(argv[i], "-w") == 0 && i + 1 < argc)
      limit = atof(argv[++i]) * 1e3;
    else if (strcmp(argv[i], "--") == 0) {
      ++i;
      break;
    }
  }
  if (i >= argc) {
    fprintf(stderr, "usage: mapwatch [-o|-t] [-w seconds] command [args...]\n");
    return 2;
  }
  Display* d = XOpenDisplay(NULL);
  if (d == NULL) {
    fprintf(stderr, "mapwatch: cannot open display\n");
    return 2;
  }
  XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
  XSync(d, False);

  const double start = Now();
  const pid_t pid = fork();
  if (pid == 0) {
    close(ConnectionNumber(d));
    execvp(argv[i], argv + i);
    _exit(127);
  }
  double mapped = -1;
  struct pollfd pfd = {ConnectionNumber(d), POLLIN, 0};
  while (mapped < 0) {
    while (XPending(d)) {
      XEvent e;
      XNextEvent(d, &e);
      if (e.type == MapNotify && (want < 0 || e.xmap.override_redirect == want)) {
        mapped = Now() - start;
        break;
      }
    }
    if (mapped >= 0) break;
    const double left = limit - (Now() - start);
    int status;
    if (left <= 0 || waitpid(pid, &status, WNOHANG) == pid) break;
    poll(&pfd, 1, left < 50 ? (int)left + 1 : 50);
  }
  kill(pid, SIGKILL);
  int status;
  struct rusage ru;
  memset(&ru, 0, sizeof ru);
  wait4(pid, &status, 0, &ru);
  if (mapped < 0) {
    fprintf(stderr, "mapwatch: no window mapped by %s\n", argv[i]);
    return 1;
  }
  printf("%.2f %ld\n", mapped, ru.ru_maxrss);
  return 0;
}
