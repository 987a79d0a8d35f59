# shellcheck shell=bash
# Wine test bench: Japanese locale, a clean prefix per run, Xvfb, 64-bit runs and
# emulated 32-bit runs. Source this file; every path comes from the variables below,
# so the caller can point them elsewhere before calling the functions.
#
# Typical use:
#   source scripts/lib/winebench.sh
#   zv_bench_prefix; zv_bench_env; zv_bench_xvfb_start; trap zv_bench_xvfb_stop EXIT
#   zv_run64 build/x64/test.exe; zv_run32 300 build/x86/host.exe

ZV_ROOT=${ZV_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
ZV_BENCH=${ZV_BENCH:-$ZV_ROOT/build/wine}
ZV_WINE64=/usr/lib/wine/wine64          # /usr/bin/wine would pick the 32-bit loader
ZV_WINE32=/usr/lib/wine/wine
ZV_WINESERVER=/usr/lib/wine/wineserver64
ZV_BINFMT=/proc/sys/fs/binfmt_misc
ZV_BINFMT_NAME=zv-qemu-i386             # our own handler name: never confused with one we found
ZV_TEMPLATE_VERSION=1                   # bump when the template setup below changes

# --- helpers -----------------------------------------------------------------

_zv_root() { if ((EUID == 0)); then "$@"; else sudo -n "$@"; fi; }
_zv_write() { printf '%s\n' "$2" | _zv_root tee "$1" >/dev/null; }  # write a /proc file
_zv_need_env() {
  [[ -n ${WINEPREFIX:-} && -n ${LOCPATH:-} ]] && return 0
  echo "winebench: call zv_bench_env first" >&2
  return 1
}

# Enabled binfmt_misc handlers that catch 32-bit x86 ELF files (ELF, class 32,
# little-endian, e_machine 3 at bytes 18-19), one name per line.
_zv_i386_handlers() {
  local f magic
  [[ -e $ZV_BINFMT/status ]] || return 0
  for f in "$ZV_BINFMT"/*; do
    case ${f##*/} in register | status) continue ;; esac
    grep -qx enabled "$f" 2>/dev/null || continue
    magic=$(sed -n 's/^magic //p' "$f")
    [[ $magic == 7f454c460101* && ${magic:36:4} == 0300 ]] && echo "${f##*/}"
  done
  return 0
}

# --- environment -------------------------------------------------------------

# zv_bench_locale: compile ja_JP.UTF-8 into $ZV_BENCH/locale once (no root needed).
# Without it Wine still reports code page 932, but treats the Unix side as ASCII and
# breaks Japanese arguments, file names and registry names.
zv_bench_locale() {
  local dir=$ZV_BENCH/locale/ja_JP.UTF-8
  [[ -e $dir/LC_CTYPE ]] && return 0
  mkdir -p "$ZV_BENCH/locale"
  localedef -i ja_JP -f UTF-8 "$dir" || [[ -e $dir/LC_CTYPE ]]  # warnings give rc 1
}

# zv_bench_env: export what every Wine run of the bench needs.
zv_bench_env() {
  export ZV_BENCH WINEPREFIX=$ZV_BENCH/prefix WINEARCH=win64 WINEDEBUG=-all \
    LOCPATH=$ZV_BENCH/locale WINEDLLOVERRIDES="mscoree,mshtml=" WINESERVER=$ZV_WINESERVER
  # bash itself cannot load the locale (it ignores LOCPATH) and would warn.
  { export LC_ALL=ja_JP.UTF-8; } 2>/dev/null
}

# --- prefix ------------------------------------------------------------------

# The template prefix, built once: takes 15-20 s.
_zv_make_template() {
  local tpl=$ZV_BENCH/template log=$ZV_BENCH/logs/template.log rc=0 paused=() h
  rm -rf "$tpl"
  # Pause any i386 handler (qemu) meanwhile: without wine32-preloader, wineboot's
  # 32-bit setup under qemu crawls (~50 s a process) and fails, which looks like a hang.
  mapfile -t paused < <(_zv_i386_handlers)
  ((${#paused[@]} == 0)) || for h in "${paused[@]}"; do _zv_write "$ZV_BINFMT/$h" 0; done
  # Background + wait: inside "( ... ) || rc=$?" bash would ignore set -e.
  (
    set -e
    zv_bench_env
    # shellcheck disable=SC2030  # on purpose: only this subshell works on the template
    export WINEPREFIX=$tpl
    unset DISPLAY
    # Prints an error about syswow64\rundll32.exe when 32-bit code cannot run: harmless.
    timeout 300 "$ZV_WINE64" wineboot -i || true
    [[ -f $tpl/system.reg ]]
    # Fonts: Debian's Wine does not look in /usr/share/wine/fonts.
    cp /usr/share/wine/fonts/*.ttf "$tpl/drive_c/windows/Fonts/"
    # 32-bit Wine DLLs: wineboot cannot install them without running 32-bit code.
    cp /usr/lib/i386-linux-gnu/wine/i386-windows/* "$tpl/drive_c/windows/syswow64/"
    # Registry: unmanaged windows (no window manager: 4 s -> 0.4 s per GUI run), and
    # the Japanese UI fonts mapped to IPA fonts. regedit wants UTF-16LE with a BOM.
    {
      printf '\xff\xfe'
      sed 's/$/\r/' <<'REG' | iconv -f UTF-8 -t UTF-16LE
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"ＭＳ Ｐゴシック"="IPAPGothic"
"ＭＳ ゴシック"="IPAGothic"
REG
    } >"$tpl/drive_c/zv-bench.reg"
    "$ZV_WINE64" regedit /S 'C:\zv-bench.reg'
    "$ZV_WINESERVER" -w                      # registry on disk before we copy it
    rm "$tpl/drive_c/zv-bench.reg"
    # Wine stores U+FF2D (Ｍ) as \x{ff2d} or \xff2d: check the Japanese name arrived.
    grep -qiE '^"\\x\{?ff2d\}?\\x\{?ff33\}? ' "$tpl/user.reg"
  ) >"$log" 2>&1 &
  wait $! || rc=$?
  for h in "${paused[@]}"; do _zv_write "$ZV_BINFMT/$h" 1; done
  if ((rc != 0)); then
    echo "winebench: template prefix failed (rc $rc), see $log" >&2
    return 1
  fi
  _zv_template_id >"$tpl/.zv-template"
}

# What the template was built for: this file's setup and the installed Wine (a
# prefix from another Wine version would be updated again on every run, ~10 s).
_zv_template_id() { echo "$ZV_TEMPLATE_VERSION $(stat -c %Y "$ZV_WINE64")"; }

# zv_bench_prefix: build the template once (again if its stamp is missing or old),
# then give this run a fresh copy in $ZV_BENCH/prefix (about 1 s).
zv_bench_prefix() {
  mkdir -p "$ZV_BENCH/logs"
  zv_bench_locale || return
  if [[ $(cat "$ZV_BENCH/template/.zv-template" 2>/dev/null) != "$(_zv_template_id)" ]]; then
    _zv_make_template || return
  fi
  # A server still bound to the old copy would linger forever (-p): stop it first.
  if [[ -d $ZV_BENCH/prefix ]]; then
    WINEPREFIX=$ZV_BENCH/prefix "$ZV_WINESERVER" -k >/dev/null 2>&1 || true
  fi
  rm -rf "$ZV_BENCH/prefix"
  cp -a "$ZV_BENCH/template" "$ZV_BENCH/prefix"
}

# --- display and server ------------------------------------------------------

# zv_bench_xvfb_start: Xvfb on the first free display in :90..:120, exports DISPLAY,
# then a persistent wineserver (runs cost 0.2-0.5 s instead of about 1 s).
zv_bench_xvfb_start() {
  local n i
  _zv_need_env || return
  mkdir -p "$ZV_BENCH/logs"
  for ((n = 90; n <= 120; n++)); do
    [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >"$ZV_BENCH/logs/xvfb.log" 2>&1 &
    ZV_XVFB_PID=$!
    for ((i = 0; i < 100; i++)); do
      kill -0 "$ZV_XVFB_PID" 2>/dev/null || break  # lost a race for :n: try the next
      if xdpyinfo -display ":$n" >/dev/null 2>&1; then
        export DISPLAY=":$n"
        "$ZV_WINESERVER" -p </dev/null >>"$ZV_BENCH/logs/wineserver.log" 2>&1
        return 0
      fi
      sleep 0.1
    done
    kill "$ZV_XVFB_PID" 2>/dev/null || true
    wait "$ZV_XVFB_PID" 2>/dev/null || true
    ZV_XVFB_PID=
  done
  echo "winebench: no free X display in :90..:120" >&2
  return 1
}

# zv_bench_xvfb_stop: stop the wineserver (and every Wine process of the prefix),
# Xvfb, and remove our binfmt handler if a 32-bit run was interrupted. Safe to call
# twice; meant for the caller's EXIT trap.
zv_bench_xvfb_stop() {
  # shellcheck disable=SC2031
  if [[ -n ${WINEPREFIX:-} ]]; then "$ZV_WINESERVER" -k >/dev/null 2>&1 || true; fi
  if [[ -n ${ZV_XVFB_PID:-} ]]; then
    kill "$ZV_XVFB_PID" 2>/dev/null || true
    wait "$ZV_XVFB_PID" 2>/dev/null || true
    ZV_XVFB_PID=
    unset DISPLAY
  fi
  _zv_binfmt_release
  return 0
}
zv_bench_cleanup() { zv_bench_xvfb_stop; }  # same thing, for callers without Xvfb

# --- runs --------------------------------------------------------------------

# zv_run64 EXE [ARGS...]: run an x86_64 Windows program; stdout stays the caller's,
# stderr goes to $ZV_BENCH/logs/<name>.stderr (never a pipe: lingering Wine
# processes would keep it open). Returns the program's exit code.
zv_run64() {
  local name=${1##*/} rc=0
  _zv_need_env || return
  mkdir -p "$ZV_BENCH/logs"
  "$ZV_WINE64" "$@" 2>"$ZV_BENCH/logs/${name%.exe}.stderr" || rc=$?
  return "$rc"
}

# Remove the qemu handler this bench registered (by its own name only).
_zv_binfmt_release() {
  if [[ -e $ZV_BINFMT/$ZV_BINFMT_NAME ]]; then _zv_write "$ZV_BINFMT/$ZV_BINFMT_NAME" -1; fi
}

# zv_run32 SECONDS EXE [ARGS...]: run a 32-bit Windows program with the 32-bit Wine
# loader (same prefix). Where the kernel refuses 32-bit code, qemu-i386 is
# registered for i386 ELF for the duration of the run, only if no such handler
# exists, and removed afterwards. Needs root (or sudo -n) in that case.
# Under emulation a process starts in about 1 s with wine32-preloader installed
# (without it: ~50 s, then "failed to map the shared user data").
# Returns the program's exit code, 124 on time-out.
# ZV_RUN32_QEMU=1 forces the emulated path on a kernel that runs 32-bit code.
zv_run32() {
  local secs=$1 name=${2##*/} rc=0 ours=0
  shift
  _zv_need_env || return
  mkdir -p "$ZV_BENCH/logs"
  if [[ ! -e $ZV_BINFMT/register ]]; then
    _zv_root mount -t binfmt_misc binfmt_misc "$ZV_BINFMT" 2>/dev/null || true
  fi
  if [[ -z $(_zv_i386_handlers) ]] &&
    { [[ ${ZV_RUN32_QEMU:-0} == 1 ]] || ! "$ZV_WINE32" --version >/dev/null 2>&1; }; then
    # Kernel without 32-bit support and nobody catches i386 ELF: register qemu.
    _zv_write "$ZV_BINFMT/register" ":$ZV_BINFMT_NAME:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386:" ||
      return
    ours=1
  fi
  # timeout puts the program in its own process group, out of reach of Ctrl-C, and
  # bash would wait for it. So run it in the background: a trapped INT/TERM ends
  # `wait` at once; we stop the program, clean up, restore the caller's traps and
  # re-raise the signal.
  local pid sig='' old_traps
  old_traps=$(trap -p INT TERM)
  timeout -k 10 "$secs" "$ZV_WINE32" "$@" <&0 2>"$ZV_BENCH/logs/${name%.exe}.stderr" &
  pid=$!
  trap 'sig=INT' INT
  trap 'sig=TERM' TERM
  wait "$pid" || rc=$?
  if [[ -n $sig ]]; then
    kill -TERM "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  fi
  trap - INT TERM
  eval "$old_traps"
  ((ours == 0)) || _zv_binfmt_release
  [[ -z $sig ]] || kill -s "$sig" $$
  return "$rc"
}
