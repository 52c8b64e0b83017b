#!/usr/bin/env bash
# Installs Tarvola for one user, or removes it again.
#
#   scripts/install.sh install   [build folder]   (default: build)
#   scripts/install.sh uninstall
#
# PREFIX (default ~/.local) chooses where:
#   $PREFIX/lib/tarvola/     the program and the maker's library; the program
#                            writes its settings file tarvola.ini here, so this
#                            folder must be writable by the user
#   $PREFIX/bin/tarvola      a symbolic link to the program
#   $PREFIX/share/applications/tarvola.desktop
#   $PREFIX/share/icons/hicolor/{32x32,64x64,scalable}/apps/
#
# Every file and folder made is listed in $PREFIX/lib/tarvola/install-manifest;
# uninstall removes exactly those and leaves everything else (the settings
# file among it) where it is.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
action=${1:-}
build=${2:-build}
prefix=${PREFIX:-$HOME/.local}

die() { echo "install.sh: $*" >&2; exit 1; }

[[ -n "$prefix" ]] || die "PREFIX is empty"
[[ "$prefix" != *$'\n'* ]] || die "PREFIX must not contain a line break"
[[ "$prefix" == /* ]] || prefix="$PWD/$prefix"
prefix=${prefix%/}
[[ -n "$prefix" ]] || die "PREFIX must not be the root folder"

libdir="$prefix/lib/tarvola"
bindir="$prefix/bin"
appdir="$prefix/share/applications"
icondir="$prefix/share/icons/hicolor"
manifest="$libdir/install-manifest"

# Quoting for the Exec key of a desktop entry: an argument with a reserved
# character goes in double quotes with " ` $ \ escaped, and the whole value then
# has its backslashes doubled by the file's own string escaping.
desktop_exec_quote() {
  local s=$1
  if [[ "$s" =~ ^[A-Za-z0-9_./+:@%,=-]+$ ]]; then
    printf '%s' "$s"
    return
  fi
  s=${s//\\/\\\\}
  s=${s//\"/\\\"}
  s=${s//\`/\\\`}
  s=${s//\$/\\\$}
  s=${s//\\/\\\\}
  printf '"%s"' "$s"
}

created=()   # manifest lines, in the order things were made

# An install that stops half-way still lists what it made, so that uninstall
# can take it away again.
write_manifest() {
  ((${#created[@]} > 0)) && [[ -d "$libdir" ]] || return 0
  printf '%s\n' "${created[@]}" >"$manifest.tmp" && mv -f "$manifest.tmp" "$manifest"
}

make_dir() {  # make_dir <dir>: creates it and its missing parents, remembering each
  local d=$1 missing=()
  while [[ ! -d "$d" ]]; do
    missing=("$d" "${missing[@]}")
    d=$(dirname "$d")
  done
  for d in "${missing[@]}"; do
    mkdir "$d"
    created+=("dir $d")
  done
}

put_file() {  # put_file <source> <dest> <mode>: replaces dest atomically (a running copy keeps its file)
  local tmp
  make_dir "$(dirname "$2")"
  tmp=$(mktemp "$(dirname "$2")/.tarvola-install.XXXXXX")
  cp "$1" "$tmp"
  chmod "$3" "$tmp"
  mv -f "$tmp" "$2"
  created+=("file $2")
}

write_desktop_entry() {  # write_desktop_entry <dest> <launcher>
  local tmp
  make_dir "$(dirname "$1")"
  tmp=$(mktemp "$(dirname "$1")/.tarvola-install.XXXXXX")
  cat >"$tmp" <<EOF
[Desktop Entry]
Type=Application
Name=Tarvola
Name[ja]=タルヴォラ
GenericName=Bus model
GenericName[ja]=バスの模型
Comment=A model of a small bus: roll its destination sign, open its doors, hang up a signboard
Comment[ja]=小さなバスの模型：方向幕を回し、扉を開け、看板を掲げる
Exec=$(desktop_exec_quote "$2")
Icon=tarvola
Terminal=false
Categories=Game;Amusement;
Keywords=bus;toy;
StartupNotify=false
EOF
  chmod 644 "$tmp"
  mv -f "$tmp" "$1"
  created+=("file $1")
}

# Removes what the manifest lists, files first and then folders deepest first,
# and only what lies inside the prefix: a damaged or edited manifest cannot
# make uninstall touch anything else.
remove_listed() {
  local kind path dirs=() i
  while IFS= read -r line || [[ -n "$line" ]]; do
    kind=${line%% *}
    path=${line#* }
    case "$path" in
      "$prefix"|"$prefix"/*) ;;
      *) echo "install.sh: skipping '$path': not inside $prefix" >&2; continue ;;
    esac
    case "$path" in
      */../*|*/..|*/./*|*/.) echo "install.sh: skipping '$path': not a plain path" >&2; continue ;;
    esac
    case "$kind" in
      file) if [[ -L "$path" || -f "$path" ]]; then rm -f -- "$path"; fi ;;
      dir) dirs+=("$path") ;;
      *) echo "install.sh: skipping manifest line '$line'" >&2 ;;
    esac
  done <"$manifest"
  rm -f -- "$manifest"
  for ((i = ${#dirs[@]} - 1; i >= 0; i--)); do
    # A folder that still holds something (the settings file, the user's own
    # files) stays.
    rmdir -- "${dirs[i]}" 2>/dev/null || true
  done
}

stopped_half_way() {
  write_manifest
  rm -f "$libdir"/.tarvola-install.* "$bindir"/.tarvola-install.* "$appdir"/.tarvola-install.* \
        "$icondir"/*/apps/.tarvola-install.* 2>/dev/null
  echo "install.sh: the installation stopped half-way; 'make uninstall' with the same PREFIX removes what it made" >&2
}

do_install() {
  local bin="$build/bin" icon32="$build/share/icons/tarvola-32.png"
  [[ -x "$bin/tarvola" ]] || die "$bin/tarvola is not built; run 'make build' first"
  [[ -f "$bin/libSorrel3Res.so" ]] || die "$bin/libSorrel3Res.so is not built; run 'make build' first"
  for module in tarvola-metafile libtarvola_sound.so; do
    [[ -f "$bin/$module" ]] || die "$bin/$module is not built; run 'make build' first"
  done
  if [[ ! -f "$icon32" ]]; then
    # A build folder configured before the desktop icon existed: configure again.
    cmake "$build" >/dev/null && cmake --build "$build" --target desktop_icon >/dev/null ||
      die "could not render $icon32"
  fi

  # Installing over an earlier installation: take the old one away first, so the
  # new manifest is complete and nothing stale stays behind.
  if [[ -f "$manifest" ]]; then
    echo "Replacing the installation in $prefix"
    remove_listed
  fi

  trap stopped_half_way EXIT
  make_dir "$libdir"
  put_file "$bin/tarvola" "$libdir/tarvola" 755
  put_file "$bin/libSorrel3Res.so" "$libdir/libSorrel3Res.so" 644
  put_file "$bin/tarvola-metafile" "$libdir/tarvola-metafile" 755
  put_file "$bin/libtarvola_sound.so" "$libdir/libtarvola_sound.so" 644

  # A link, not a copy: the program finds its library and its settings file
  # beside its real file, wherever it is started from.
  make_dir "$bindir"
  if [[ -e "$bindir/tarvola" || -L "$bindir/tarvola" ]] && [[ ! -L "$bindir/tarvola" ]]; then
    die "$bindir/tarvola exists and is not a link of ours; move it away first"
  fi
  ln -sfn "../lib/tarvola/tarvola" "$bindir/tarvola"
  created+=("file $bindir/tarvola")

  put_file "$icon32" "$icondir/32x32/apps/tarvola.png" 644
  put_file "$here/assets/icons/tarvola@2x.png" "$icondir/64x64/apps/tarvola.png" 644
  put_file "$here/assets/icons/tarvola.svg" "$icondir/scalable/apps/tarvola.svg" 644
  write_desktop_entry "$appdir/tarvola.desktop" "$bindir/tarvola"

  write_manifest
  trap - EXIT
  echo "Installed Tarvola in $prefix (start it with $bindir/tarvola or from the desktop menu)"
  case ":$PATH:" in
    *":$bindir:"*) ;;
    *) echo "Note: $bindir is not on your PATH" ;;
  esac
}

do_uninstall() {
  if [[ ! -f "$manifest" ]]; then
    echo "Tarvola is not installed in $prefix (no $manifest); nothing removed"
    return 0
  fi
  remove_listed
  if [[ -e "$libdir/tarvola.ini" ]]; then
    echo "Removed Tarvola from $prefix; your settings stay in $libdir/tarvola.ini"
  else
    echo "Removed Tarvola from $prefix"
  fi
}

case "$action" in
  install) do_install ;;
  uninstall) do_uninstall ;;
  *) echo "usage: scripts/install.sh install [build folder] | uninstall   (PREFIX=... to choose the place)" >&2; exit 2 ;;
esac
