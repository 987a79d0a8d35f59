# shellcheck shell=bash
# Debian packages for the cross build and the Wine test bench.
# Source this file, then call zv_ensure_packages. It costs one dpkg-query when
# everything is installed; otherwise it installs the missing packages through apt.

# Notes on the list:
#  - binutils-mingw-w64-* : objdump checks of the shipping DLL (also pulled in by g++-mingw).
#  - locales              : the ja_JP and UTF-8 sources that localedef (libc-bin) compiles.
#  - x11-utils            : xdpyinfo, to wait until Xvfb answers.
#  - qemu-user            : qemu-i386, to run 32-bit Wine where the kernel refuses 32-bit code.
#  - clang, libclang-rt-14-dev : libFuzzer and the sanitizer runtimes for the fuzz targets.
#  - chromium, python3, unzip : the help page rendered headless, built and checked by
#                           standard-library scripts, and the release package listed.
#  - wine32-preloader     : without it 32-bit Wine under qemu-i386 spends ~50 s reserving its
#                           address space and then fails ("failed to map the shared user
#                           data"); with it a 32-bit run takes about 1 s.
# --no-install-recommends is enough: on a bare debootstrap (minbase) the full install
# took about 1.5 min, and the bench then ran 64-bit, 32-bit and emulated 32-bit GUI
# programs with Japanese text rendered on Xvfb.
ZV_PACKAGES=(
  cmake ninja-build g++
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  mingw-w64-i686-dev mingw-w64-x86-64-dev
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine64 wine32:i386 wine32-preloader:i386 fonts-wine fonts-ipafont-gothic
  qemu-user xvfb xauth x11-utils imagemagick locales
  googletest libgtest-dev libbenchmark-dev afl++ clang libclang-rt-14-dev
  chromium python3 unzip
)

# zv_ensure_packages: returns 0 when every package in ZV_PACKAGES is installed.
# Log of apt runs: $ZV_PKG_LOG (default ${TMPDIR:-/tmp}/zv-packages.log).
zv_ensure_packages() {
  local log=${ZV_PKG_LOG:-${TMPDIR:-/tmp}/zv-packages.log}
  local native p line
  native=$(dpkg --print-architecture)
  local -A have=()
  # One dpkg-query for all; unknown names only print to stderr. Strip the
  # native-arch suffix that multi-arch packages carry (libgtest-dev:amd64).
  while read -r line; do
    [[ $line == "installed "* ]] || continue
    p=${line#installed }; p=${p%":$native"}
    have[$p]=1
  done < <(dpkg-query -W -f='${db:Status-Status} ${binary:Package}\n' "${ZV_PACKAGES[@]}" 2>/dev/null || true)

  local missing=()
  for p in "${ZV_PACKAGES[@]}"; do [[ -n ${have[$p]:-} ]] || missing+=("$p"); done
  if ((${#missing[@]} == 0)); then
    echo "packages: all ${#ZV_PACKAGES[@]} present"
    return 0
  fi

  local sudo=()
  ((EUID == 0)) || sudo=(sudo -n)
  echo "packages: installing ${missing[*]} (log: $log)"
  {
    # wine32:i386 needs the i386 architecture before apt can see it.
    if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
      "${sudo[@]}" dpkg --add-architecture i386
    fi
    "${sudo[@]}" apt-get update &&
      "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y --no-install-recommends "${missing[@]}"
  } >"$log" 2>&1 || {
    echo "packages: install failed; last lines of $log:" >&2
    tail -n 20 "$log" >&2
    return 1
  }
}
