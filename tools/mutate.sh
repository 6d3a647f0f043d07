#!/usr/bin/env bash
# Mutation check: plants each fault of tools/mutants.txt in src/, one at a time, rebuilds what
# the suites need in build dirs of its own, runs only the suites that could catch it and tells
# which did. Sequential on purpose: the machine is shared.
#
#   tools/mutate.sh                      every mutant
#   tools/mutate.sh -i 'ini-*,sf-*'      mutants by id (shell patterns, comma-separated)
#   tools/mutate.sh -f 'src/platform/*'  mutants by file (a shell pattern)
#   tools/mutate.sh --anchors            only check that every anchor is found exactly once
#   tools/mutate.sh --no-check           skip the runs of the suites on the unmutated code
#   tools/mutate.sh --allow-dirty        run although src/ has uncommitted changes
#   tools/mutate.sh -l OTHER_LIST        another list of mutants
# Logs of the last run: build/mutate-state/logs/<id>.log.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 2
ROOT=$PWD

# The suites. A mutant names the ones that could catch it; each runs in the build dir of its
# preset, after building the targets it needs. The command runs in that build dir; `gtest T`
# runs the GoogleTest program of target T in one process (under Wine for a Windows one), and
# ctest selects by name or label: renamed tests and test files need no change here, a renamed
# test program is one word in this table.
#   suite           preset timeout targets (comma-separated)          command
SUITES='
core              linux  180  kv_core_tests                          gtest kv_core_tests
linux             linux  300  kv_linux_tests                         QT_QPA_PLATFORM=offscreen gtest kv_linux_tests
savekill          linux  300  kv_linux_tests                         QT_QPA_PLATFORM=offscreen gtest kv_linux_tests
e2e-linux         linux  600  kivoret                                ctest --output-on-failure -R "^e2e_linux_"
win32             mingw  300  kv_win32_tests                         gtest kv_win32_tests
win32-fs          mingw  300  kv_win32_tests                         ctest --output-on-failure -R "^win32_settings_fs_cases$"
win32-diff        mingw  900  kv_win32_ini_diff_tests                gtest kv_win32_ini_diff_tests
e2e-win32         mingw  900  kivoret,uidriver,hung_drive            ctest --output-on-failure -L e2e -R "^e2e_win32_"
'
# Run once before the Windows suites: the Wine prefix (a ctest fixture of the mingw preset).
WINE_SETUP='ctest -R "^wine_prefix_prepare$"'
BUILD_TIMEOUT=1200

LIST=tools/mutants.txt
IDS='' FILES='' CHECK=1 DIRTY=0 ANCHORS_ONLY=0
while [ $# -gt 0 ]; do
  case $1 in
  -i) IDS=$2; shift 2 ;;
  -f) FILES=$2; shift 2 ;;
  -l) LIST=$2; shift 2 ;;
  --no-check) CHECK=0; shift ;;
  --allow-dirty) DIRTY=1; shift ;;
  --anchors) ANCHORS_ONLY=1; shift ;;
  -h | --help) sed -n '2,14p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
  *) echo "mutate.sh: unknown option $1 (see --help)" >&2; exit 2 ;;
  esac
done

STATE=$ROOT/build/mutate-state
mkdir -p "$STATE/logs" "$STATE/backup"

# The list: parsing, selection and the edit of one file. Prints what the shell asks for.
py() {
  python3 - "$@" <<'PY'
import fnmatch, os, sys

def load(path):
    mutants, cur = [], None
    keys = ("id", "file", "find", "replace", "suites", "equivalent", "note")
    for n, raw in enumerate(open(path, encoding="utf-8"), 1):
        line = raw.rstrip("\n")
        if line.startswith("#"):
            continue
        if not line.strip():
            cur = None
            continue
        key, sep, value = line.partition(":")
        if not sep or key not in keys:
            sys.exit(f"{path}:{n}: expected 'key: value' with key one of {', '.join(keys)}")
        value = value[1:] if value.startswith(" ") else value
        if cur is None:
            cur = {"line": n}
            mutants.append(cur)
        if key in cur:
            sys.exit(f"{path}:{n}: {key} given twice (missing blank line between mutants?)")
        cur[key] = value
    seen = set()
    for m in mutants:
        for k in ("id", "file", "find", "replace", "suites"):
            if k not in m:
                sys.exit(f"{path}:{m['line']}: mutant without '{k}'")
        if m["id"] in seen:
            sys.exit(f"{path}:{m['line']}: id {m['id']} used twice")
        if m["find"] == m["replace"]:
            sys.exit(f"{path}:{m['line']}: {m['id']} replaces its text by itself")
        seen.add(m["id"])
    return mutants

def pick(mutants, ids, files):
    out = []
    for m in mutants:
        if ids and not any(fnmatch.fnmatchcase(m["id"], p) for p in ids.split(",") if p):
            continue
        if files and not fnmatch.fnmatchcase(m["file"], files):
            continue
        out.append(m)
    return out

cmd, path = sys.argv[1], sys.argv[2]
mutants = load(path)
if cmd == "select":  # id, file, suites; one line each
    for m in pick(mutants, sys.argv[3], sys.argv[4]):
        print(m["id"], m["file"], m["suites"], sep="\t")
elif cmd == "apply":  # plants one mutant
    m = next(m for m in mutants if m["id"] == sys.argv[3])
    text = open(m["file"], encoding="utf-8").read()
    n = text.count(m["find"])
    if n != 1:
        sys.exit(f"anchor found {n} times")
    with open(m["file"], "w", encoding="utf-8") as f:
        f.write(text.replace(m["find"], m["replace"]))
elif cmd == "anchors":  # every selected anchor, found exactly once
    bad = 0
    for m in pick(mutants, sys.argv[3], sys.argv[4]):
        n = open(m["file"], encoding="utf-8").read().count(m["find"]) if os.path.exists(m["file"]) else -1
        if n != 1:
            bad += 1
            where = "file missing" if n < 0 else f"found {n} times"
            print(f"{m['id']}: {m['file']}: {where}: {m['find']}")
    print(f"{len(pick(mutants, sys.argv[3], sys.argv[4]))} mutants, {bad} anchors to fix")
    sys.exit(1 if bad else 0)
elif cmd == "equivalent":  # the reason given for an equivalent mutant, if any
    print(next(m for m in mutants if m["id"] == sys.argv[3]).get("equivalent", ""))
PY
}

if [ "$ANCHORS_ONLY" = 1 ]; then
  py anchors "$LIST" "$IDS" "$FILES"
  exit
fi

# A run killed outright (no trap) leaves its mutant in place: put the file back first.
restore() {
  if [ -s "$STATE/pending" ]; then
    local f
    f=$(cat "$STATE/pending")
    # Content only, never the old time stamp: the build must see the file as changed again.
    cat "$STATE/backup/file" >"$f" && rm -f "$STATE/pending"
  fi
}
restore
# Nor does it stop the step it had started (timeout runs it in a process group of its own).
if [ -s "$STATE/child" ]; then
  pid=$(cat "$STATE/child")
  if [[ $(ps -o args= -p "$pid" 2>/dev/null) == timeout* ]]; then
    kill -TERM "$pid" 2>/dev/null
    sleep 2
  fi
  rm -f "$STATE/child"
fi

if [ "$DIRTY" = 0 ] && [ -n "$(git status --porcelain -- src)" ]; then
  echo "mutate.sh: src/ has uncommitted changes (git status src); commit them or --allow-dirty" >&2
  exit 2
fi

selected=$(py select "$LIST" "$IDS" "$FILES") || exit 2
[ -n "$selected" ] || { echo "mutate.sh: no mutant selected" >&2; exit 2; }

declare -A S_PRESET S_TIMEOUT S_TARGETS S_CMD
while read -r name preset timeout targets cmd; do
  [ -n "$name" ] || continue
  S_PRESET[$name]=$preset S_TIMEOUT[$name]=$timeout S_TARGETS[$name]=${targets//,/ }
  S_CMD[$name]=$cmd
done <<<"$SUITES"

needed=$(cut -f3 <<<"$selected" | tr ' ' '\n' | awk 'NF && !seen[$0]++')
for s in $needed; do
  [ -n "${S_PRESET[$s]:-}" ] || { echo "mutate.sh: unknown suite '$s' in $LIST" >&2; exit 2; }
done

builddir() { echo "$ROOT/build/mutate-$1"; }

XVFB_STATE=$STATE/xvfb.state WINE_READY=0
cleanup() {
  restore
  if [ "$WINE_READY" = 1 ]; then
    WINEPREFIX=$(builddir mingw)/wineprefix wineserver -k 2>/dev/null
  fi
  tools/xvfb.sh stop "$XVFB_STATE" 2>/dev/null
}
# Builds and suites run in the background so that Ctrl-C reaches this script at once; the
# interrupted step is stopped (timeout passes the signal on to everything it started).
CHILD=''
exec 3>&1 4>&2  # the terminal, for the trap, which may run inside a redirected call
waitfor() {
  "$@" &
  CHILD=$!
  echo "$CHILD" >"$STATE/child"
  wait "$CHILD"
  local rc=$?
  CHILD=''
  rm -f "$STATE/child"
  return "$rc"
}
interrupted() {
  if [ -n "$CHILD" ]; then
    kill -TERM "$CHILD" 2>/dev/null
    wait "$CHILD" 2>/dev/null
  fi
  echo >&3
  echo "mutate.sh: interrupted; the mutated file is restored" >&4
  exit 130
}
trap cleanup EXIT
trap interrupted INT TERM

export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache CCACHE_BASEDIR=/work
configure() {  # the preset's configuration, in a build dir of our own
  local dir
  dir=$(builddir "$1")
  [ -f "$dir/build.ninja" ] && return 0
  cmake --preset "$1" -B "$dir" >"$STATE/configure-$1.log" 2>&1 ||
    { echo "mutate.sh: cmake --preset $1 failed; see $STATE/configure-$1.log" >&2; return 1; }
}

build() {  # suite log
  local s=$1 dir
  dir=$(builddir "${S_PRESET[$s]}")
  # shellcheck disable=SC2086  # the targets are words
  waitfor timeout "$BUILD_TIMEOUT" cmake --build "$dir" -j2 --target ${S_TARGETS[$s]} >>"$2" 2>&1
}

wine_setup() {
  [ "$WINE_READY" = 1 ] && return 0
  if [ -z "${DISPLAY:-}" ]; then
    DISPLAY=$(tools/xvfb.sh start "$XVFB_STATE") || return 1
    export DISPLAY
  fi
  (cd "$(builddir mingw)" && eval "$WINE_SETUP") >"$STATE/wine-setup.log" 2>&1 ||
    { echo "mutate.sh: Wine prefix not prepared; see $STATE/wine-setup.log" >&2; return 1; }
  WINE_READY=1
}

# shellcheck disable=SC2016  # expanded in the suite's shell
GTEST='gtest() {
  local t=$1 exe; shift
  exe=$(find . -path ./CMakeFiles -prune -o -type f \( -name "$t" -o -name "$t.exe" \) -print | head -n 1)
  [ -n "$exe" ] || { echo "no program of target $t here" >&2; return 2; }
  case $exe in
  *.exe) ./wine-run.sh "$exe" --gtest_brief=1 "$@" ;;
  *) "$exe" --gtest_brief=1 "$@" ;;
  esac
}'

run_suite() {  # suite log; the suite's status (124 when it timed out)
  local s=$1 dir
  [ "${S_PRESET[$s]}" = mingw ] && { wine_setup || return 125; }
  dir=$(builddir "${S_PRESET[$s]}")
  waitfor timeout -k 10 "${S_TIMEOUT[$s]}" \
    bash -c "cd '$dir' || exit 125"$'\n'"$GTEST"$'\n'"${S_CMD[$s]}" >>"$2" 2>&1
}

# The first failing test in a log (GoogleTest's or ctest's summary), to say what caught it.
culprit() {
  {
    grep -m1 -oE '^\[  FAILED  \] [^ ]+' "$1" | sed 's/^\[  FAILED  \] //; s/,$//'
    grep -A1 -m1 'The following tests FAILED' "$1" | sed -nE '2s/^[[:space:]]*[0-9]+ - ([^ ]+).*/\1/p'
  } | head -n 1
}

for p in $(for s in $needed; do echo "${S_PRESET[$s]}"; done | sort -u); do
  configure "$p" || exit 1
done

if [ "$CHECK" = 1 ]; then
  echo "checking the suites on the unmutated code: ${needed//$'\n'/ }"
  for s in $needed; do
    log=$STATE/logs/_check-$s.log
    : >"$log"
    start=$SECONDS
    build "$s" "$log" || { echo "mutate.sh: suite $s does not build; see $log" >&2; exit 1; }
    run_suite "$s" "$log" || { echo "mutate.sh: suite $s fails unmutated; see $log" >&2; exit 1; }
    printf '  %-16s passes (%d s)\n' "$s" $((SECONDS - start))
  done
fi

killed=0 survived=0 equivalent=0 lost=0 compiler=0 broken=0
survivors='' lostlist='' compilerlist='' brokenlist=''
begin=$SECONDS
while IFS=$'\t' read -r id file suites; do
  log=$STATE/logs/$id.log
  : >"$log"
  start=$SECONDS
  status='' detail=''
  cp "$file" "$STATE/backup/file" && echo "$file" >"$STATE/pending"
  if ! err=$(py apply "$LIST" "$id" 2>&1); then
    status=anchor-lost detail=$err
  else
    for s in $suites; do
      echo "=== $s" >>"$log"
      if ! build "$s" "$log"; then
        status=no-compile detail="building for $s"
        break
      fi
      run_suite "$s" "$log"
      rc=$?
      if [ "$rc" = 125 ]; then
        status=error detail="$s could not start"
        break
      elif [ "$rc" != 0 ]; then
        status=killed detail=$s
        [ "$rc" = 124 ] && detail="$s (timeout)"
        [ "$rc" -gt 128 ] && detail="$s (signal $((rc - 128)))"
        c=$(culprit "$log")
        [ -n "$c" ] && detail="$detail: $c"
        break
      fi
    done
    [ -n "$status" ] || status=survived detail="($suites)"
  fi
  restore
  case $status in
  killed) killed=$((killed + 1)) ;;
  survived)
    survived=$((survived + 1))
    why=$(py equivalent "$LIST" "$id")
    [ -n "$why" ] && equivalent=$((equivalent + 1))
    survivors+="  $id  $file${why:+  [equivalent: $why]}"$'\n'
    ;;
  anchor-lost) lost=$((lost + 1)) lostlist+="  $id  $file: $detail"$'\n' ;;
  no-compile) compiler=$((compiler + 1)) compilerlist+="  $id  $file: $detail"$'\n' ;;
  *) broken=$((broken + 1)) brokenlist+="  $id  $file: $status, $detail"$'\n' ;;
  esac
  printf '%-30s %-48s %-11s %s (%d s)\n' "$id" "$file" "$status" "$detail" $((SECONDS - start))
done <<<"$selected"

echo
total=$((killed + survived))
rate=0
[ "$total" -gt 0 ] && rate=$(((1000 * killed + total / 2) / total))
printf 'killed %d / survived %d (kill rate %d.%d %%)\n' "$killed" "$survived" $((rate / 10)) $((rate % 10))
if [ -n "$survivors" ]; then
  printf 'survivors (%d marked equivalent in the list, %d to look at):\n%s' "$equivalent" \
    $((survived - equivalent)) "$survivors"
fi
[ "$compiler" -gt 0 ] && printf 'killed by the compiler, not counted (%d):\n%s' "$compiler" "$compilerlist"
[ "$broken" -gt 0 ] && printf 'not counted, a suite could not run (%d):\n%s' "$broken" "$brokenlist"
[ "$lost" -gt 0 ] && printf 'not counted, anchor to fix (%d):\n%s' "$lost" "$lostlist"
printf 'time: %d min %d s\n' $(((SECONDS - begin) / 60)) $(((SECONDS - begin) % 60))
