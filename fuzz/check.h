// A broken invariant aborts, so that libFuzzer keeps the input that broke it.
#pragma once

#include <cstdio>
#include <cstdlib>

#define Check(ok, what) \
  ((ok) ? (void)0 : (std::fprintf(stderr, "invariant broken: %s\n", what), std::abort()))
