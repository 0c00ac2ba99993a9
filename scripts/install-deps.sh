#!/usr/bin/env bash
# Installs the Debian packages BrisnaMake needs, only those that are missing.
#   scripts/install-deps.sh               every group
#   scripts/install-deps.sh run build     only the named groups
# run:   what the programs need at run time beyond the libraries that the build packages
#        bring in (OpenCC's tables, a CJK font, Qt's Chinese strings)
# build: compilers and libraries for the window, the command line and the benchmarks, and
#        what `cpack -G DEB` needs
# test:  the test frameworks, the fuzzer, the formatter, the virtual display, books to try, and
#        the tools that check the package (and the Chinese locale the Chinese help is tried in)
set -euo pipefail

run=(libopencc-data fonts-noto-cjk qt6-translations-l10n)
build=(
  build-essential cmake ninja-build pkg-config
  zlib1g-dev libicu-dev libopencc-dev qt6-base-dev libcli11-dev libbenchmark-dev
  libzip-dev libxml2-dev libpango1.0-dev libpng-dev uuid-dev
  dpkg-dev file pandoc
)
test=(
  libgtest-dev clang libclang-rt-14-dev clang-format opencc
  xvfb xauth
  manpages-zh debian-faq-zh-cn
  desktop-file-utils appstream man-db shared-mime-info
  lintian zsh fish locales
  epubcheck default-jre-headless pandoc zip calibre
)

groups=("$@")
[ ${#groups[@]} -gt 0 ] || groups=(run build test)
packages=()
for group in "${groups[@]}"; do
  case $group in
    run) packages+=("${run[@]}") ;;
    build) packages+=("${build[@]}") ;;
    test) packages+=("${test[@]}") ;;
    *) echo "install-deps.sh: unknown group '$group' (run, build, test)" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# --help and the manual pages are tried in Chinese; Debian generates no locale by itself.
for group in "${groups[@]}"; do
  if [ "$group" = test ] && ! locale -a 2>/dev/null | grep -qx 'zh_CN.utf8'; then
    echo "Generating the locale zh_CN.UTF-8"
    if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
    $SUDO localedef -i zh_CN -c -f UTF-8 -A /usr/share/locale/locale.alias zh_CN.UTF-8
  fi
done
