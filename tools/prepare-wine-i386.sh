#!/usr/bin/env bash
# Makes 32-bit Windows programs runnable for the release check, as root, without installing
# any i386 package: tools/prepare-wine-i386.sh FOLDER
#  - lets the kernel hand 32-bit Linux programs to Debian's qemu-i386-static (binfmt_misc);
#  - unpacks Debian's wine32:i386, of the same version as wine64, with what it depends on,
#    into FOLDER/root, through an apt of its own (own lists, cache and empty status), so
#    neither dpkg nor apt's lists on this machine change;
#  - does what libwine's postinst would have done there (dpkg-deb -x runs no maintainer
#    script): without zlib1.dll, user32.dll does not load and the prefix gets no 32-bit half;
#  - puts a copy of the 64-bit loader beside the 32-bit one: Wine starts a program of the
#    other bitness with the loader found in its own folder.
# Installed system-wide instead, wine32 would make /usr/bin/wine start every program through
# the emulated loader (seconds become minutes).
set -euo pipefail
folder=$1
root="$folder/root"
binfmt=/proc/sys/fs/binfmt_misc

fail() {
  echo "setup: $*" >&2
  exit 1
}

# The magic and mask of an i386 executable or shared object; F opens the interpreter now,
# so it is found from any mount namespace.
register_qemu() {
  if [ -f "$binfmt/qemu-i386" ]; then
    grep -qx enabled "$binfmt/qemu-i386" || echo 1 >"$binfmt/qemu-i386"
    return 0
  fi
  if [ ! -f "$binfmt/register" ]; then
    mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null ||
      fail "cannot mount binfmt_misc at $binfmt (needs root and a kernel with binfmt_misc)"
  fi
  printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
    >"$binfmt/register" 2>/dev/null || fail "cannot register qemu-i386-static with binfmt_misc"
  echo "setup: 32-bit Linux programs now run through qemu-i386-static (binfmt_misc entry qemu-i386)"
}

unpack_wine32() {
  local version apt_dir
  version=$(dpkg-query -W -f='${Version}' wine64)
  if [ -f "$folder/.ready" ] && [ "$(cat "$folder/.ready")" = "$version" ]; then return 0; fi
  echo "setup: unpacking wine32:i386 $version into ${folder}"
  rm -rf "$folder"
  apt_dir="$folder/apt"
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$root"
  : >"$apt_dir/status"
  local options=(-o "Dir::State=$apt_dir" -o "Dir::State::status=$apt_dir/status" -o "Dir::Cache=$apt_dir/cache"
                 -o APT::Architecture=i386 -o APT::Architectures=i386 -o APT::Sandbox::User=root)
  apt-get "${options[@]}" -qq update || fail "apt-get update (i386 lists) failed"
  apt-get "${options[@]}" -qq -y --no-install-recommends --download-only install \
    "wine32=$version" "libwine=$version" >/dev/null || fail "could not download wine32:i386 $version"
  local deb
  for deb in "$apt_dir"/cache/archives/*.deb; do dpkg-deb -x "$deb" "$root"; done
  rm -rf "$apt_dir/cache"
  # The emulated ld.so reads the root's own cache.
  echo 'include /etc/ld.so.conf.d/*.conf' >"$root/etc/ld.so.conf"
  ldconfig -r "$root"
  cp /usr/lib/wine/wine64 "$root/usr/lib/wine/wine64"
  mkdir -p "$root/usr/lib/x86_64-linux-gnu"
  ln -sfn /usr/lib/x86_64-linux-gnu/wine "$root/usr/lib/x86_64-linux-gnu/wine"
  echo "$version" >"$folder/.ready"
}

# Debian's Wine takes zlib1.dll from libz-mingw-w64: libwine's postinst copies it into Wine's
# folders, marked as a Wine builtin at offset 64 as Wine's own DLLs are (the same bytes as its
# postinst, for the unpacked folders instead of /usr/lib/i386-linux-gnu/wine).
mark_zlib_builtin() {
  local mingw_arch wine_arch in out
  for mingw_arch in i686 x86_64; do
    wine_arch=$mingw_arch
    [ "$mingw_arch" = i686 ] && wine_arch=i386
    in="$root/usr/$mingw_arch-w64-mingw32/lib/zlib1.dll"
    out="$root/usr/lib/i386-linux-gnu/wine/$wine_arch-windows/zlib1.dll"
    [ -f "$in" ] || fail "$in is missing (libz-mingw-w64 was not unpacked)"
    { head -c 64 "$in"; printf 'Wine builtin DLL'; head -c 16 /dev/zero; tail -c +97 "$in"; } >"$out"
  done
}

# Through sudo: the unpacked tree belongs to whoever asked for it, so it can be deleted again.
hand_back() {
  [ -n "${SUDO_UID:-}" ] && [ -d "$folder" ] && chown -R "$SUDO_UID:${SUDO_GID:-$SUDO_UID}" "$folder"
  return 0
}
trap hand_back EXIT

[ -x /usr/bin/qemu-i386-static ] || fail "qemu-i386-static is missing (Debian's qemu-user-static)"
register_qemu
unpack_wine32
mark_zlib_builtin
QEMU_LD_PREFIX="$root" timeout 60 "$root/usr/lib/wine/wine" --version >/dev/null 2>&1 ||
  fail "the 32-bit Wine loader in $root does not start under qemu-i386-static"
