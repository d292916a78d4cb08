# Shared by scripts/test and scripts/demo: installing what is missing,
# building a preset, and making a private Wine prefix under the build folder.

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# runs_32bit: whether this machine executes 32-bit x86 code, asked once with
# a real program: a 96-byte static 32-bit ELF that only exits with 42. Some
# machines refuse it ("Exec format error"), and Wine's 32-bit loader with it.
# LINDQUA_NO_32BIT=1 answers no, so that either path can be tried anywhere.
runs_32bit() {
  if [ -z "${LINDQUA_RUNS_32BIT:-}" ]; then
    LINDQUA_RUNS_32BIT=0
    if [ "${LINDQUA_NO_32BIT:-0}" != 1 ]; then
      local probe
      probe=$(mktemp)
      printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08%b%b%b' \
        '\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00' \
        '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00' \
        '\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$probe"
      chmod +x "$probe"
      "$probe" >/dev/null 2>&1
      [ $? -eq 42 ] && LINDQUA_RUNS_32BIT=1
      rm -f "$probe"
    fi
    export LINDQUA_RUNS_32BIT
  fi
  [ "$LINDQUA_RUNS_32BIT" = 1 ]
}

# The Wine loader for a build: the 64-bit build never needs the 32-bit side,
# so it uses the 64-bit loader alone, which runs on every machine.
wine_loader() {
  if [ "$1" = windows64 ]; then echo /usr/lib/wine/wine64; else echo wine; fi
}

# pick_wine_build: the Windows build whose programs the demo and the
# benchmarks run, in LINDQUA_BUILD, with its loader in LINDQUA_WINE: the 32-bit one
# where 32-bit code runs, the 64-bit one everywhere else (and it says so).
pick_wine_build() {
  if runs_32bit; then
    LINDQUA_BUILD=windows
  else
    LINDQUA_BUILD=windows64
    echo "== this machine cannot run 32-bit code (or LINDQUA_NO_32BIT=1): using the 64-bit build" >&2
  fi
  LINDQUA_WINE=$(wine_loader "$LINDQUA_BUILD")
  export LINDQUA_BUILD LINDQUA_WINE
}

# The package groups, each installed and reported on its own so that one
# failing index or package stops only what needs it. A group that failed is
# listed in LINDQUA_FAILED_GROUPS.
LINDQUA_FAILED_GROUPS=
apt_refreshed=0
apt_refresh() {
  local log=$1
  as_root apt-get update -qq >"$log" 2>&1 && ! grep -q '^[EW]: ' "$log"
}

install_group() {
  local group=$1
  shift
  [ $# -eq 0 ] && return 0
  echo "== installing $group: $*"
  local log
  log=$(mktemp)
  if [ "$apt_refreshed" -eq 0 ]; then
    apt_refreshed=1
    # An index out of step with its release file ("Mirror sync in
    # progress?") often mends itself: one more try before going on.
    apt_refresh "$log" || apt_refresh "$log" || { echo "!! apt-get update reported:"; grep -E '^[EW]: ' "$log" | head -5; }
  fi
  local tries
  for tries in 1 2; do
    if as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$@" >"$log" 2>&1; then
      rm -f "$log"
      return 0
    fi
    [ "$tries" -eq 1 ] && apt_refresh "$(mktemp)"
  done
  echo "!! the package group \"$group\" did not install; what stops without it is said below. apt said:"
  grep -E '^(E|W): ' "$log" | head -5 | sed 's/^/   /'
  rm -f "$log"
  LINDQUA_FAILED_GROUPS="$LINDQUA_FAILED_GROUPS $group"
  return 1
}

group_failed() {
  case " $LINDQUA_FAILED_GROUPS " in *" $1 "*) return 0 ;; esac
  return 1
}

ensure_packages() {
  local tools=() wine64=() wine32=() xtools=()
  command -v cmake >/dev/null || tools+=(cmake)
  command -v ninja >/dev/null || tools+=(ninja-build)
  command -v g++ >/dev/null || tools+=(g++)
  # Checkouts side by side (CI clones afresh) share compiled objects.
  command -v ccache >/dev/null || tools+=(ccache)
  [ -d /usr/src/googletest ] || tools+=(googletest)
  # Both cross compilers are amd64 packages: the 32-bit programs are built
  # on every machine, also where they cannot run.
  command -v i686-w64-mingw32-g++-posix >/dev/null || tools+=(g++-mingw-w64-i686-posix)
  command -v x86_64-w64-mingw32-g++-posix >/dev/null || tools+=(g++-mingw-w64-x86-64-posix)
  # The sanitizer builds and the fuzz targets: clang 14 with its runtimes.
  command -v clang++-14 >/dev/null || tools+=(clang-14)
  [ -f /usr/lib/llvm-14/lib/libFuzzer.a ] || tools+=(libfuzzer-14-dev)
  compgen -G '/usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.asan-x86_64.a' >/dev/null || tools+=(libclang-rt-14-dev)
  { command -v wine >/dev/null && [ -x /usr/lib/wine/wine64 ]; } || wine64+=(wine wine64)
  if runs_32bit; then
    [ -x /usr/lib/wine/wine ] || wine32+=(wine32:i386)
  fi
  command -v Xvfb >/dev/null || xtools+=(xvfb xauth)
  command -v import >/dev/null || xtools+=(imagemagick)
  command -v xdotool >/dev/null || xtools+=(xdotool)

  if [ ${#wine32[@]} -gt 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
  fi
  install_group "compilers and build tools" "${tools[@]}"
  install_group "Wine 64-bit" "${wine64[@]}"
  install_group "Wine 32-bit" "${wine32[@]}"
  install_group "X and image tools" "${xtools[@]}"
  return 0
}

build_preset() {
  local preset=$1
  echo "== building $preset"
  if [ ! -f "build/$preset/build.ninja" ]; then
    cmake --preset "$preset" >"build-$preset-configure.log" 2>&1 || { cat "build-$preset-configure.log"; return 1; }
    mkdir -p build && mv "build-$preset-configure.log" build/
  fi
  cmake --build "build/$preset" 2>&1 | grep -Ev '^\[[0-9]+/[0-9]+\] ' ; return "${PIPESTATUS[0]}"
}

# make_prefix PATH ARCH [LOADER]: a Wine prefix of its own, never the user's,
# without the mono and gecko prompts, and with the user folders as plain
# folders so that nothing a test walks leads into the home folder of whoever
# runs it. The loader (default: LINDQUA_WINE, else wine) makes it: a 64-bit prefix
# made by the 64-bit loader alone needs no 32-bit code.
make_prefix() {
  local prefix=$1 arch=$2 loader=${3:-${LINDQUA_WINE:-wine}}
  if [ ! -f "$prefix/.lindqua-ready" ]; then
    echo "== creating Wine prefix $prefix"
    rm -rf "$prefix"
    mkdir -p "$(dirname "$prefix")"
    WINEPREFIX=$prefix WINEARCH=$arch WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" "$loader" wineboot -i >/dev/null 2>&1
    WINEPREFIX=$prefix wineserver -w
    [ -d "$prefix/drive_c/windows" ] || { echo "!! wineboot failed for $prefix"; return 1; }
    touch "$prefix/.lindqua-ready"
  fi
  # Every link, at any depth (Wine also links AppData\...\Templates to the
  # home folder); checked on each use, so older prefixes are mended too.
  local link
  while IFS= read -r -d '' link; do
    rm -f "$link" && mkdir -p "$link"
  done < <(find "$prefix/drive_c/users" -type l -print0 2>/dev/null)
}

# wine_to_end ARGS...: runs a Windows program under the current WINEPREFIX with
# its output (carriage returns dropped, line by line), then stops the prefix's
# server. The services Wine starts for the prefix inherit the program's output
# and outlive it, so a pipe from them closes only once the server is gone;
# stopping it inside the piped part lets the pipe end and the script return.
# Returns the program's own exit status. The loader is LINDQUA_WINE, else wine.
wine_to_end() {
  (
    status=0
    "${LINDQUA_WINE:-wine}" "$@" </dev/null 2>&1 || status=$?
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    exit "$status"
  ) | sed -u 's/\r//g'
  return "${PIPESTATUS[0]}"
}

# keep_processor_awake: with LINDQUA_BENCH_STEADY=1, runs a busy loop at the
# lowest priority until the calling script ends. Under Wine each registry
# call is a round trip to the server; on an idle machine the processor
# sleeps between the two sides' turns, and the same enumeration took from
# 6 s to 31 s depending on what else ran. Kept awake, rounds compare.
keep_processor_awake() {
  [ "${LINDQUA_BENCH_STEADY:-0}" = 1 ] || return 0
  nice -n 19 bash -c 'while :; do :; done' </dev/null >/dev/null 2>&1 &
  local spinner=$!
  trap "kill $spinner 2>/dev/null || true" EXIT
}
