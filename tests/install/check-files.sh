# Shared by the install tests: what an installed tree must hold, and the installed program run.

# $1 the prefix, $2 the desktop id, $3 the version; KV_NO_MAN=1 when dpkg is set to drop man pages.
check_installed_files() {
  local p=$1 id=$2 version=$3 f man=$1/share/man/man1/kivoret.1.gz
  local desktop=$p/share/applications/$id.desktop metainfo=$p/share/metainfo/$id.metainfo.xml
  [[ ${KV_NO_MAN:-} == 1 ]] && man=""
  for f in "$p/bin/kivoret" "$desktop" "$metainfo" $man \
    "$p"/share/icons/hicolor/{16x16,32x32,48x48}/apps/"$id.png" \
    "$p/share/icons/hicolor/scalable/apps/$id.svg"; do
    [[ -f $f ]] || fail "not installed: ${f#$p/}"
  done
  [[ -x $p/bin/kivoret ]] || fail "bin/kivoret is not executable"

  local out
  out=$(desktop-file-validate "$desktop" 2>&1) && [[ -z $out ]] || fail "desktop-file-validate: $out"
  out=$(appstreamcli validate --no-net --strict --explain "$metainfo" 2>&1) ||
    fail "appstreamcli validate: $out"
  # The launcher itself: no field code, never a handler for folders (it opens them with xdg-open).
  local key
  for key in "Name=キヴォレット" "Exec=kivoret" "Icon=$id" "Categories=Utility;" \
    "StartupNotify=false" "StartupWMClass=kivoret" "Type=Application"; do
    grep -qxF "$key" "$desktop" || fail "desktop entry lacks $key"
  done
  for key in "GenericName[ja]=" "GenericName=" "Comment[ja]=" "Comment="; do
    grep -qF -- "$key" "$desktop" || fail "desktop entry lacks $key"
  done
  ! grep -q '^MimeType' "$desktop" || fail "the desktop entry claims MIME types"
  grep -qF "<release version=\"$version\"" "$metainfo" || fail "metainfo lacks release $version"
  grep -qF "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "metainfo does not name the desktop entry"
  grep -q '<summary xml:lang="ja">' "$metainfo" && grep -q '<screenshot type="default">' "$metainfo" ||
    fail "metainfo lacks the Japanese summary or a screenshot"

  if [[ -n $man ]]; then
    out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$man" 2>&1 >"$KV_SCRATCH/man.txt") &&
      [[ -z $out ]] || fail "man page: $out"
    for key in "kivoret $version" ENVIRONMENT FILES XDG_CONFIG_HOME Setting.ini uca.xml "Context menu"; do
      grep -qF "$key" "$KV_SCRATCH/man.txt" || fail "man page lacks $key"
    done
  fi
  python3 -c 'import sys, xml.etree.ElementTree as E
r = E.parse(sys.argv[1]).getroot()
sys.exit(r.tag != "{http://www.w3.org/2000/svg}svg" or r.get("viewBox") != "0 0 48 48")' \
    "$p/share/icons/hicolor/scalable/apps/$id.svg" || fail "the SVG icon is not a 48-unit SVG"
}

# The installed program in context-menu mode on a folder with a double quote: its window opens.
check_runs() {
  local folder="$KV_SCRATCH/say \"hi\""
  mkdir -p "$folder"
  "$1" "$folder" >"$KV_SCRATCH/run.log" 2>&1 &
  KV_PID=$!
  wait_for 15 find_window 'キヴォレット - 設定' >/dev/null ||
    fail "the installed program showed no settings window: $(cat "$KV_SCRATCH/run.log")"
  kill "$KV_PID"
  wait "$KV_PID" 2>/dev/null || true
}
