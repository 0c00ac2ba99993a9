#!/usr/bin/env bash
# Builds the Debian packages from this build tree and checks them as a user would meet them:
# brisnamake-cli (the command line, needing no display library) and, when the window is built,
# brisnamake (the window, depending on brisnamake-cli of the same version).
# One step per call, so that ctest reports each on its own:
#   build     cpack into a fresh folder and unpack the packages into a root beside it
#   contents  every file a desktop install needs, in the package it belongs to, the control
#             fields (the command line's Depends naming no Qt, X or GL library), no maintainer
#             scripts
#   closure   the unpacked brisnamake-cli loads no Qt, X or GL library (ldd), and its Depends
#             pull in no such package (apt-cache depends --recurse)
#   run       the unpacked brisnamake-cli prints its version and generates the sample book
#   desktop   desktop-file-validate on the unpacked .desktop file
#   appstream appstreamcli validate on the unpacked AppStream data
#   man       man renders every unpacked manual page without a warning
#   mime      a MIME database built from the unpacked package names the generated books
#   lintian   lintian --pedantic finds no error and no warning, and in a hardened tree no
#             hardening or unneeded-section note either
#   docs      the doc folder holds the changelog and the command line's manual; the desktop
#             entry and the window agree on its id and class; the Chinese manual page renders
#   clean     removes the folder
# The environment (set by tests/packaging/CMakeLists.txt) names the build tree, the source
# tree, the version, the application id, the MIME probe and what this tree builds.
set -uo pipefail

dir=${BRISNA_PACKAGE_DIR:?}
root=$dir/root
app=${BRISNA_APP_ID:?}
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

step_build() {
  rm -rf "$dir"
  mkdir -p "$dir"
  (cd "$BRISNA_BUILD_DIR" && cpack -G DEB -B "$dir/out") >"$dir/cpack.log" 2>&1 || {
    cat "$dir/cpack.log" >&2
    fail "cpack -G DEB"
    return
  }
  local arch package
  arch=$(dpkg --print-architecture)
  for package in $(packages); do
    local deb=$dir/out/${package}_${BRISNA_VERSION}_${arch}.deb
    [ -f "$deb" ] || { ls "$dir/out" >&2; fail "no package named $(basename "$deb")"; continue; }
    ln -s "$deb" "$dir/$package.deb"
    dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x $package"
  done
  local count
  count=$(find "$dir/out" -maxdepth 1 -name '*.deb' | wc -l)
  [ "$count" = "$(packages | wc -w)" ] || fail "cpack wrote $count packages: $(ls "$dir/out")"
}

# The packages this tree makes: the command line's, and the window's when it is built.
packages() {
  echo brisnamake-cli
  [ "$BRISNA_EXPECT_GUI" = 1 ] && echo brisnamake
  return 0
}

# Those of the names on standard input (package names or library paths, one or more a line)
# that belong to Qt, X, GL or another display stack. Fonts (fontconfig, FreeType) and GLib are no
# display libraries; libgl counts only when a digit or a GL family name follows.
display_packages() {
  grep -oiE '(qt[0-9a-z-]*|lib(x11|x11-xcb|xcb|xrender|xext|xft|xau|xdmcp|xfixes|xi|xrandr|xcursor|xinerama|xkbcommon)[0-9a-z._-]*|libgl([0-9]|x|u|ew|vnd|es)[0-9a-z._-]*|libegl[0-9a-z._-]*|libopengl[0-9a-z._-]*|[a-z0-9.-]*mesa[a-z0-9.-]*|libgbm[0-9a-z._-]*|libwayland[0-9a-z._-]*|libcairo[0-9a-z._-]*|libdrm[0-9a-z._-]*)' |
    sort -u
}

# The files of one package, one absolute path a line.
package_files() {
  dpkg-deb -c "$dir/$1.deb" | awk '{print $6}' | sed 's|^\./|/|'
}

step_contents() {
  local cli_files gui_files=""
  cli_files=$(package_files brisnamake-cli) || fail "dpkg-deb -c brisnamake-cli"
  local cli_expected=(/usr/bin/brisnamake-cli "/usr/share/mime/packages/$app.xml"
                      /usr/share/doc/brisnamake-cli/copyright /usr/share/doc/brisnamake-cli/changelog.gz
                      /usr/share/doc/brisnamake-cli/cli.md)
  local gui_expected=()
  if [ "$BRISNA_EXPECT_GUI" = 1 ]; then
    gui_files=$(package_files brisnamake) || fail "dpkg-deb -c brisnamake"
    gui_expected+=(/usr/bin/BrisnaMake "/usr/share/applications/$app.desktop" "/usr/share/metainfo/$app.metainfo.xml"
                   /usr/share/man/man1/BrisnaMake.1.gz /usr/share/man/zh_CN/man1/BrisnaMake.1.gz
                   "/usr/share/icons/hicolor/scalable/apps/$app.svg"
                   /usr/share/doc/brisnamake/copyright /usr/share/doc/brisnamake/changelog.gz)
    for size in 16 32 48 64 128 256; do
      gui_expected+=("/usr/share/icons/hicolor/${size}x${size}/apps/$app.png")
    done
  fi
  if [ "$BRISNA_EXPECT_CLI_DOCS" = 1 ]; then
    cli_expected+=(/usr/share/man/man1/brisnamake-cli.1.gz /usr/share/bash-completion/completions/brisnamake-cli)
  else
    echo "note: this tree does not generate the command line's manual page and completion; not checked"
  fi
  local path
  for path in "${cli_expected[@]}"; do
    grep -qxF "$path" <<<"$cli_files" || fail "brisnamake-cli lacks $path"
  done
  for path in "${gui_expected[@]}"; do
    grep -qxF "$path" <<<"$gui_files" || fail "brisnamake lacks $path"
  done
  # No file in both: dpkg would refuse to install the second package.
  local shared
  shared=$(comm -12 <(grep -v '/$' <<<"$cli_files" | sort) <(grep -v '/$' <<<"$gui_files" | sort))
  [ -z "$shared" ] || fail "files in both packages: $shared"

  local package field value
  for package in $(packages); do
    for field in Package Version Depends Recommends; do
      value=$(dpkg-deb -f "$dir/$package.deb" "$field")
      echo "$package $field: $value"
      case $package/$field in
        */Package) [ "$value" = "$package" ] || fail "Package is '$value', not $package" ;;
        */Version) [ "$value" = "$BRISNA_VERSION" ] || fail "$package: Version is '$value'" ;;
        # libc6 shows that the library dependencies were computed from the binaries.
        brisnamake-cli/Depends)
          for dep in libopencc-data libc6; do
            grep -qE "(^|, )$dep( |,|$)" <<<"$value" || fail "brisnamake-cli: Depends lacks $dep"
          done
          # The command line must install on a machine without any display library.
          display_packages <<<"$value" | grep -q . &&
            fail "brisnamake-cli depends on a display library: $value" ;;
        # Covers drawn from Chinese titles want a CJK face.
        brisnamake-cli/Recommends)
          grep -qF "fonts-noto-cjk | fonts-wqy-microhei | fonts-arphic-ukai" <<<"$value" ||
            fail "brisnamake-cli: Recommends lacks a CJK font" ;;
        # A CJK font is needed: without one every label of the window is an empty box.
        brisnamake/Depends)
          grep -qE "(^|, )brisnamake-cli \(= $BRISNA_VERSION\)(,|$)" <<<"$value" ||
            fail "brisnamake does not depend on brisnamake-cli (= $BRISNA_VERSION)"
          grep -qF "fonts-noto-cjk | fonts-wqy-microhei | fonts-arphic-ukai" <<<"$value" ||
            fail "brisnamake: Depends lacks a CJK font" ;;
        brisnamake/Recommends)
          grep -qE "(^|, )qt6-translations-l10n( |,|$)" <<<"$value" ||
            fail "brisnamake: Recommends lacks qt6-translations-l10n" ;;
      esac
    done
    local control=$dir/control-$package
    rm -rf "$control"
    dpkg-deb -e "$dir/$package.deb" "$control" || fail "dpkg-deb -e $package"
    for script in preinst postinst prerm postrm config; do
      [ ! -e "$control/$script" ] || fail "$package carries a maintainer script: $script"
    done
  done
  # The programs must not look for libraries in the build tree they came from.
  local program
  for program in "$root"/usr/bin/*; do
    if readelf -d "$program" | grep -qE 'RPATH|RUNPATH'; then
      fail "$(basename "$program") keeps a library search path: $(readelf -d "$program" | grep -E 'RPATH|RUNPATH')"
    fi
  done
}

# Generates the sample book with the unpacked command line into the folder $1.
generate_sample() {
  local work=$1
  rm -rf "$work"
  mkdir -p "$work"
  cp "$BRISNA_SOURCE_DIR/res/sample/sample.txt" "$work/"
  (cd "$work" && "$root/usr/bin/brisnamake-cli" generate sample.txt --incremental 第一章) ||
    { fail "brisnamake-cli generate"; return 1; }
  local book
  for book in sample.qbr2 sample.qbr; do
    [ -s "$work/$book" ] || { fail "generate wrote no $book"; return 1; }
  done
}

step_run() {
  local cli=$root/usr/bin/brisnamake-cli
  local output
  if output=$("$cli" --version 2>&1); then
    grep -qF "$BRISNA_VERSION" <<<"$output" || fail "brisnamake-cli --version says '$output'"
  elif [ "$BRISNA_EXPECT_CLI_DOCS" = 1 ]; then
    fail "brisnamake-cli --version: $output"
  else
    echo "note: this brisnamake-cli has no --version yet; not checked"
  fi

  generate_sample "$dir/run" || return
  # The fixed start of a .qbr2 header, as the MIME magic expects it.
  [ "$(head -c 8 "$dir/run/sample.qbr2" | od -An -tx1 | tr -d ' \n')" = 0000000068000200 ] ||
    fail "sample.qbr2 does not begin with the .qbr2 header"
}

# What the command line brings with it, beyond its own Depends: the shared libraries its program
# loads (the dynamic loader's whole closure, through ldd) and every package its Depends pull in
# (apt-cache, without recommendations), neither naming a Qt, X or GL library.
step_closure() {
  local cli=$root/usr/bin/brisnamake-cli
  local libraries found
  libraries=$(ldd "$cli") || { fail "ldd brisnamake-cli"; return; }
  grep -q 'not found' <<<"$libraries" && fail "brisnamake-cli lacks libraries: $(grep 'not found' <<<"$libraries")"
  echo "brisnamake-cli loads $(grep -c '=>' <<<"$libraries") shared libraries"
  found=$(awk '{print $1}' <<<"$libraries" | display_packages)
  [ -z "$found" ] || fail "brisnamake-cli loads display libraries: $found"

  local depends names closure
  depends=$(dpkg-deb -f "$dir/brisnamake-cli.deb" Depends)
  # Each alternative of each dependency, without its version.
  names=$(tr ',|' '\n\n' <<<"$depends" | sed 's/(.*)//; s/:any//' | awk 'NF {print $1}' | sort -u)
  # apt-cache knows only what the package lists hold; a name it does not know is noted, not
  # failed, so that the check runs on machines whose lists are missing.
  closure=$(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
              --no-replaces --no-enhances $names 2>/dev/null | grep -v '^ ' | sort -u)
  if [ -z "$closure" ]; then
    echo "note: apt-cache knows none of $names; the package closure is not checked"
    return 0
  fi
  echo "brisnamake-cli pulls in $(wc -l <<<"$closure") packages (with virtual ones)"
  found=$(display_packages <<<"$closure")
  [ -z "$found" ] || fail "installing brisnamake-cli pulls in display packages: $found"
  return 0
}

step_desktop() {
  [ "$BRISNA_EXPECT_GUI" = 1 ] || { echo "note: no window in this tree; not checked"; return; }
  desktop-file-validate "$root/usr/share/applications/$app.desktop" || fail "desktop-file-validate"
}

step_appstream() {
  [ "$BRISNA_EXPECT_GUI" = 1 ] || { echo "note: no window in this tree; not checked"; return; }
  appstreamcli validate --no-net "$root/usr/share/metainfo/$app.metainfo.xml" || fail "appstreamcli validate"
}

step_man() {
  shopt -s nullglob
  local pages=("$root"/usr/share/man/man1/*.1.gz "$root"/usr/share/man/*/man1/*.1.gz)
  [ ${#pages[@]} -gt 0 ] || { fail "no manual pages"; return; }
  echo "manual pages: ${pages[*]#"$root"}"
  local page warnings
  for page in "${pages[@]}"; do
    # The pages name the window's Chinese buttons, which only a UTF-8 terminal can show.
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man -l ${page#"$root"}: $warnings"
    LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" 2>/dev/null | grep -qF "$BRISNA_VERSION" ||
      fail "${page#"$root"} does not name version $BRISNA_VERSION"
  done
}

step_mime() {
  [ -n "${BRISNA_MIME_PROBE:-}" ] || { echo "note: no MIME probe in this tree; not checked"; return; }
  local share=$dir/mime-share
  rm -rf "$share"
  mkdir -p "$share/mime/packages"
  cp /usr/share/mime/packages/freedesktop.org.xml "$root/usr/share/mime/packages/$app.xml" "$share/mime/packages/"
  local messages
  messages=$(XDG_DATA_HOME=$share XDG_DATA_DIRS=$share update-mime-database "$share/mime" 2>&1) || fail "update-mime-database: $messages"
  [ -z "$messages" ] || fail "update-mime-database: $messages"
  local work=$dir/mime-books
  generate_sample "$work" || return
  cp "$work/sample.qbr2" "$work/renamed.bin"
  cp "$work/sample.qbr2" "$work/UPPER.QBR2"
  local expectations=(
    "sample.qbr2 application/x-qbr2"
    "UPPER.QBR2 application/x-qbr2"
    "renamed.bin application/x-qbr2"
    "sample.qbr application/x-qbr"
    "sample.txt text/plain"
  )
  local line file want got
  for line in "${expectations[@]}"; do
    read -r file want <<<"$line"
    got=$(XDG_DATA_HOME=$share XDG_DATA_DIRS=$share "$BRISNA_MIME_PROBE" "$work/$file")
    [ "$got" = "$want" ] || fail "$file is taken for $got, not $want"
  done
}

step_lintian() {
  command -v lintian >/dev/null || { fail "lintian is not installed (scripts/install-deps.sh test)"; return; }
  local report package debs=()
  for package in $(packages); do debs+=("$dir/$package.deb"); done
  report=$(lintian --pedantic --display-info --no-tag-display-limit "${debs[@]}" 2>&1)
  echo "$report"
  grep -E '^[EW]: ' <<<"$report" && fail "lintian reports errors or warnings"
  if [ "$BRISNA_EXPECT_HARDENED" = 1 ]; then
    grep -E '^[IPX]: .*(hardening-|binary-has-unneeded-section)' <<<"$report" &&
      fail "lintian finds the programs not hardened"
  else
    # The sanitizer build cannot use _FORTIFY_SOURCE (its checks would bypass the sanitizer's),
    # so only the release tree is held to the hardening tags.
    echo "note: this tree is not built with the release hardening flags; hardening tags not checked"
    grep -E '^[IPX]: .*binary-has-unneeded-section' <<<"$report" &&
      fail "the packaged programs keep sections Debian strips"
  fi
  return 0
}

step_docs() {
  local package doc
  for package in $(packages); do
    doc=$root/usr/share/doc/$package
    [ -f "$doc/changelog.gz" ] || fail "no changelog.gz in the doc folder of $package"
    gzip -dc "$doc/changelog.gz" | head -1 | grep -qF "$package ($BRISNA_VERSION)" ||
      fail "the changelog of $package does not begin with $package ($BRISNA_VERSION)"
  done
  doc=$root/usr/share/doc/brisnamake-cli
  cmp -s "$doc/cli.md" "$BRISNA_SOURCE_DIR/docs/cli.md" || fail "cli.md is missing from the doc folder or differs"
  if [ "$BRISNA_EXPECT_GUI" = 1 ]; then
    local desktop=$root/usr/share/applications/$app.desktop
    grep -qx "StartupWMClass=BrisnaMake" "$desktop" || fail "StartupWMClass is not the window's class"
    grep -q '^MimeType=.*text/plain' "$desktop" && fail "the desktop entry claims every plain-text file"
    # The window sets the application name (its WM_CLASS class) and the desktop file name.
    local app_source=$BRISNA_SOURCE_DIR/src/gui/CBrisnaMakeApp.cpp
    grep -qF "setDesktopFileName(QStringLiteral(\"$app\"))" "$app_source" ||
      fail "the window's desktop file name is not $app"
    grep -qF 'setApplicationName(QStringLiteral("BrisnaMake"))' "$app_source" ||
      fail "the window's class is not BrisnaMake"
  fi
  [ "$BRISNA_EXPECT_CLI_DOCS" = 1 ] || return 0
  local path
  for path in /usr/share/man/zh_CN/man1/brisnamake-cli.1.gz /usr/share/zsh/vendor-completions/_brisnamake-cli \
              /usr/share/fish/vendor_completions.d/brisnamake-cli.fish; do
    [ -f "$root$path" ] || fail "the package lacks $path"
  done
  if locale -a 2>/dev/null | grep -qx 'zh_CN.utf8'; then
    local warnings
    warnings=$(LC_ALL=zh_CN.UTF-8 MANWIDTH=80 MANPATH=$root/usr/share/man man -L zh_CN brisnamake-cli 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man -L zh_CN brisnamake-cli: $warnings"
    LC_ALL=zh_CN.UTF-8 MANWIDTH=80 MANPATH=$root/usr/share/man man -L zh_CN brisnamake-cli 2>/dev/null |
      grep -qF "脚本" || fail "man -L zh_CN brisnamake-cli is not the Chinese page"
  else
    fail "the locale zh_CN.UTF-8 is missing (scripts/install-deps.sh test generates it)"
  fi
}

step_clean() {
  rm -rf "$dir"
}

case ${1:-} in
  build | contents | closure | run | desktop | appstream | man | mime | lintian | docs | clean) "step_$1" ;;
  *) echo "usage: $0 build|contents|closure|run|desktop|appstream|man|mime|lintian|docs|clean" >&2; exit 2 ;;
esac
[ "$failures" -eq 0 ]
