# Shared by scripts/test and scripts/demo: installing what is missing,
# building a preset, and making a private Wine prefix under the build folder.

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

ensure_packages() {
  local missing=()
  command -v cmake >/dev/null || missing+=(cmake)
  command -v ninja >/dev/null || missing+=(ninja-build)
  command -v g++ >/dev/null || missing+=(g++)
  [ -d /usr/src/googletest ] || missing+=(googletest)
  command -v i686-w64-mingw32-g++-posix >/dev/null || missing+=(g++-mingw-w64-i686-posix)
  command -v wine >/dev/null || missing+=(wine wine64)
  [ -x /usr/lib/wine/wine ] || missing+=(wine32:i386)
  command -v Xvfb >/dev/null || missing+=(xvfb xauth)
  command -v import >/dev/null || missing+=(imagemagick)
  command -v xdotool >/dev/null || missing+=(xdotool)
  # The sanitizer builds and the fuzz targets: clang 14 with its runtimes.
  command -v clang++-14 >/dev/null || missing+=(clang-14)
  [ -f /usr/lib/llvm-14/lib/libFuzzer.a ] || missing+=(libfuzzer-14-dev)
  compgen -G '/usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.asan-x86_64.a' >/dev/null || missing+=(libclang-rt-14-dev)
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "== installing: ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
  fi
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" \
    >/dev/null || { echo "!! package installation failed"; return 1; }
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

# make_prefix PATH ARCH: a Wine prefix of its own, never the user's, without
# the mono and gecko prompts, and with the user folders as plain folders so
# that nothing a test walks leads into the home folder of whoever runs it.
make_prefix() {
  local prefix=$1 arch=$2
  if [ ! -f "$prefix/.lindqua-ready" ]; then
    echo "== creating Wine prefix $prefix"
    rm -rf "$prefix"
    mkdir -p "$(dirname "$prefix")"
    WINEPREFIX=$prefix WINEARCH=$arch WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
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
# Returns the program's own exit status.
wine_to_end() {
  (
    status=0
    wine "$@" </dev/null 2>&1 || status=$?
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
