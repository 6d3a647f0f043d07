# Shared by the install tests: what an installed tree must hold, and the installed program run.

# $1 the prefix, $2 the desktop id, $3 the version; KV_NO_MAN=1 when dpkg is set to drop man pages.
check_installed_files() {
  local p=$1 id=$2 f out man=$1/share/man/man1/kivoret.1.gz
  local desktop=$p/share/applications/$id.desktop metainfo=$p/share/metainfo/$id.metainfo.xml
  [[ ${KV_NO_MAN:-} == 1 ]] && man=""
  for f in "$desktop" "$metainfo" $man "$p"/share/icons/hicolor/{16x16,32x32,48x48}/apps/"$id.png" \
    "$p/share/icons/hicolor/scalable/apps/$id.svg"; do
    [[ -f $f ]] || fail "not installed: ${f#$p/}"
  done
  [[ -x $p/bin/kivoret ]] || fail "bin/kivoret is not installed as a program"
  out=$(desktop-file-validate "$desktop" 2>&1) && [[ -z $out ]] || fail "desktop-file-validate: $out"
  out=$(appstreamcli validate --no-net --strict "$metainfo" 2>&1) || fail "appstreamcli: $out"
  grep -qF "<release version=\"$3\"" "$metainfo" || fail "metainfo lacks release $3"
  # Never a handler for folders: the launcher opens them with xdg-open.
  ! grep -q '^MimeType' "$desktop" || fail "the desktop entry claims MIME types"
  if [[ -n $man ]]; then
    out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$man" 2>&1 >/dev/null) && [[ -z $out ]] ||
      fail "man page: $out"
  fi
}

# The installed program in context-menu mode on a folder with a double quote: its window opens.
check_runs() {
  mkdir -p "$KV_SCRATCH/say \"hi\""
  "$1" "$KV_SCRATCH/say \"hi\"" >"$KV_SCRATCH/run.log" 2>&1 &
  KV_PID=$!
  wait_for 15 find_window 'キヴォレット - 設定' >/dev/null || fail "no settings window: $(cat "$KV_SCRATCH/run.log")"
}
