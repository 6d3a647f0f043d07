# Shared by the install tests: what an installed tree must hold, and the installed program run.

# $1 the prefix, $2 the desktop id, $3 the version.
check_installed_files() {
  local p=$1 id=$2 f s out man=$1/share/man/man1/kivoret.1.gz
  local desktop=$p/share/applications/$id.desktop metainfo=$p/share/metainfo/$id.metainfo.xml
  for f in "$desktop" "$metainfo" "$man" "$p/share/icons/hicolor/scalable/apps/$id.svg"; do
    [[ -f $f ]] || fail "not installed: ${f#$p/}"
  done
  # The PNGs' pixels are held to the artwork by icons.sh; here each is of its folder's size.
  for s in 16 32 48; do
    f=$p/share/icons/hicolor/${s}x$s/apps/$id.png
    [[ $(identify -format '%wx%h %m' "$f" 2>&1) == "${s}x$s PNG" ]] || fail "not a ${s}x$s PNG: $f"
  done
  out=$(desktop-file-validate "$desktop" 2>&1) && [[ -z $out ]] || fail "desktop-file-validate: $out"
  out=$(appstreamcli validate --no-net --strict "$metainfo" 2>&1) || fail "appstreamcli: $out"
  grep -qF "<release version=\"$3\"" "$metainfo" || fail "metainfo lacks release $3"
  # Never a handler for folders: the launcher opens them with xdg-open.
  ! grep -q '^MimeType' "$desktop" || fail "the desktop entry claims MIME types"
  out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$man" 2>&1 >/dev/null) && [[ -z $out ]] ||
    fail "man page: $out"
}

# The installed program in context-menu mode on a folder with a double quote: its window opens.
check_runs() {
  mkdir -p "$KV_SCRATCH/say \"hi\""
  start "$1" "$KV_SCRATCH/say \"hi\""
  wait_for 15 find_window "$SETTINGS" >/dev/null || fail "no settings window: $(cat "$KV_SCRATCH/out.log")"
}
