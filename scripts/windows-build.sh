#!/usr/bin/env bash
# The Windows package, cross-built on a Debian machine and tested under Wine:
#
#   scripts/windows-build.sh
#
# leaves build-windows/dist/tamberline-VERSION-win64.zip and
# build-windows/dist/tamberline-VERSION-setup.exe. It installs what it needs
# (as root, or through sudo), fetches Qt's sources as Debian source packages
# of the very version the Linux build uses, and builds Qt for Windows once into
# a cache folder (~/.cache/tamberline-windows, or T2_WINDOWS_CACHE); later runs
# take that build as it is. Then it builds the program, the command-line tool,
# the simulated panel and the test programs that need no pseudo-terminal, runs
# those under wine64 with ctest, checks the command-line tool against the Linux
# build, makes a screenshot of the program under Wine on a virtual display and
# packs the ZIP and the installer.
#
# Everything heavy runs at the lowest priority (nice 19, idle I/O) on at most
# T2_WINDOWS_JOBS (2) jobs, so that the machine stays usable.
#
# Options (environment):
#   T2_WINDOWS_CACHE   where Qt for Windows is built and kept
#   T2_WINDOWS_JOBS    parallel jobs (2)
#   T2_WINDOWS_SKIP_TESTS=1   build and pack only
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cache="${T2_WINDOWS_CACHE:-$HOME/.cache/tamberline-windows}"
jobs="${T2_WINDOWS_JOBS:-2}"
build="$root/build-windows"
linux_build="$build/linux"
triple=x86_64-w64-mingw32
host_cmake_dir=/usr/lib/x86_64-linux-gnu/cmake

low=(nice -n 19)
if command -v ionice >/dev/null 2>&1; then low+=(ionice -c3); fi

step() { printf '\n== %s (%s)\n' "$*" "$(date -u +%H:%M:%S)"; }
fail() { printf 'windows-build: %s\n' "$*" >&2; exit 1; }
as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

# --- What the machine needs -------------------------------------------------

packages=(
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
    binutils-mingw-w64-x86-64 wine64 nsis zip cmake ninja-build dpkg-dev
    qt6-base-dev qt6-base-dev-tools qt6-serialport-dev googletest
    xvfb xauth x11-utils xdotool imagemagick
)

install_packages() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        step "Installing ${missing[*]}"
        as_root apt-get update -q
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
    fi
}

# apt-get source needs a deb-src entry for Debian's own archive: the one the
# binary packages come from, with Types: deb-src.
add_source_entry() {
    local have=0
    grep -rqsE '^Types:.*deb-src' /etc/apt/sources.list.d/ && have=1
    grep -qsE '^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null && have=1
    if [ "$have" -eq 0 ]; then
        local from=/etc/apt/sources.list.d/debian.sources
        [ -f "$from" ] || fail "no $from to take the archive's deb-src entry from"
        step "Adding the deb-src entry of Debian's archive"
        sed -e 's/^Types:.*/Types: deb-src/' "$from" |
            as_root tee /etc/apt/sources.list.d/tamberline-deb-src.sources >/dev/null
        as_root apt-get update -q
    fi
}

# fetch_source PACKAGE VERSION: unpacks Debian's source package (with Debian's
# patches) into $cache/src/PACKAGE, once.
fetch_source() {
    local package="$1" version="$2" dir="$cache/src/$1"
    [ -f "$dir/.unpacked" ] && return 0
    step "Fetching the source package $package $version"
    mkdir -p "$cache/src"
    if ! (cd "$cache/src" && apt-get source -q --download-only "$package=$version"); then
        echo "windows-build: apt-get source $package=$version failed (see above)" >&2
        return 1
    fi
    rm -rf "$dir"
    (cd "$cache/src" && dpkg-source -x "${package}_${version#*:}.dsc" "$dir") || return 1
    touch "$dir/.unpacked"
}

# --- Qt for Windows ------------------------------------------------------------

linux_qt_version="$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || true)"
qt_version="${linux_qt_version%%+*}"
qt_version="${qt_version%%-*}"
qt_prefix="$cache/qt-${qt_version:-unknown}-mingw"
gtest_prefix="$cache/googletest-mingw"
toolchain="$cache/mingw-w64-x86_64.cmake"

launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

# Qt Base with only what the program uses: Core, Gui, Widgets, Network,
# PrintSupport and Test; shared libraries, Release.
# Builds a configured folder into its log, installs it and marks it done.
build_install() {
    local what="$1" bdir="$2" log="$3" stamp="$4"
    "${low[@]}" cmake --build "$bdir" --parallel "$jobs" >"$log" 2>&1 ||
        { tail -30 "$log"; fail "$what's build failed (log: $log)"; }
    "${low[@]}" cmake --install "$bdir" >/dev/null
    touch "$stamp"
}

build_qtbase() {
    local stamp="$qt_prefix/.qtbase-done" bdir="$cache/build-qtbase"
    [ -f "$stamp" ] && { echo "Qt Base for Windows: $qt_prefix (built before)"; return 0; }
    fetch_source qt6-base "$linux_qt_version" || fail "Debian's archive does not give qt6-base $linux_qt_version"
    # Configured on every run (a minute), so that changed options apply to a
    # build folder left by an earlier run. Direct2D stays on: Qt PrintSupport's
    # Windows print engine takes the DirectWrite font engine that Qt Gui builds
    # only together with it.
    step "Configuring Qt Base $qt_version for Windows"
    mkdir -p "$bdir"
    PKG_CONFIG_LIBDIR=/nonexistent PKG_CONFIG_PATH='' "${low[@]}" cmake -G Ninja \
        -S "$cache/src/qt6-base" -B "$bdir" \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" "${launcher[@]}" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$qt_prefix" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$host_cmake_dir" \
        -DBUILD_SHARED_LIBS=ON -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
        -DQT_BUILD_BENCHMARKS=OFF -DQT_BUILD_MANUAL_TESTS=OFF \
        -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF \
        -DFEATURE_opengl=ON -DFEATURE_vulkan=OFF \
        -DFEATURE_direct2d=ON \
        -DFEATURE_openssl=OFF -DFEATURE_zstd=OFF -DFEATURE_icu=OFF -DFEATURE_jpeg=OFF \
        -DFEATURE_tabletevent=OFF \
        -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF \
        -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF \
        -DFEATURE_system_doubleconversion=OFF
    step "Building Qt Base for Windows (log: $cache/qtbase-build.log; the first time takes hours)"
    build_install "Qt Base" "$bdir" "$cache/qtbase-build.log" "$stamp"
}

build_qtserialport() {
    local stamp="$qt_prefix/.qtserialport-done" bdir="$cache/build-qtserialport"
    [ -f "$stamp" ] && { echo "Qt SerialPort for Windows: $qt_prefix (built before)"; return 0; }
    fetch_source qt6-serialport "$serialport_version" ||
        fail "Debian's archive does not give qt6-serialport $serialport_version: Qt SerialPort cannot be built"
    step "Building Qt SerialPort for Windows"
    if [ ! -f "$bdir/build.ninja" ]; then
        "${low[@]}" "$qt_prefix/bin/qt-cmake" -G Ninja -S "$cache/src/qt6-serialport" -B "$bdir" \
            "${launcher[@]}" -DCMAKE_BUILD_TYPE=Release \
            -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$host_cmake_dir" \
            -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
    fi
    build_install "Qt SerialPort" "$bdir" "$cache/qtserialport-build.log" "$stamp"
}

# GoogleTest for the test programs, from Debian's googletest package.
build_googletest() {
    local stamp="$gtest_prefix/.done" bdir="$cache/build-googletest"
    [ -f "$stamp" ] && return 0
    step "Building GoogleTest for Windows"
    "${low[@]}" cmake -G Ninja -S /usr/src/googletest -B "$bdir" \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" "${launcher[@]}" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$gtest_prefix" \
        -DBUILD_GMOCK=OFF -Dgtest_disable_pthreads=OFF >/dev/null
    "${low[@]}" cmake --build "$bdir" --parallel "$jobs" >/dev/null
    "${low[@]}" cmake --install "$bdir" >/dev/null
    touch "$stamp"
}

# --- The program -----------------------------------------------------------------

# The test programs that run under Wine: those that need no pseudo-terminal
# nor other POSIX-only means. Left on Linux: test_link, test_session,
# status_test and test_session_cli (a serial line on a pseudo-terminal),
# test_cli (Unix sockets and pipes as input), test_panelsim (POSIX signals to
# the simulated panel) and test_install (the Debian package).
wine_tests=(test_model test_image test_image_cli test_protocol test_protocol_cli
            test_report test_report_cli test_schedule test_shell editors_test AppTest
            test_diff_cli)

build_program() {
    step "Building the program for Windows"
    "${low[@]}" cmake -G Ninja -S "$root" -B "$build" \
        -DCMAKE_TOOLCHAIN_FILE="$root/packaging/windows/mingw-w64-x86_64.cmake" "${launcher[@]}" \
        -DT2_WINDOWS_PREFIXES="$qt_prefix;$gtest_prefix" -DCMAKE_PREFIX_PATH="$qt_prefix;$gtest_prefix" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$host_cmake_dir" \
        -DCMAKE_BUILD_TYPE=Release -DT2_BUILD_TESTS=ON \
        -DCMAKE_CROSSCOMPILING_EMULATOR=wine >/dev/null
    "${low[@]}" cmake --build "$build" --parallel "$jobs" \
        --target tamberline tamberline-cli tamberline-panelsim
    [ "${T2_WINDOWS_SKIP_TESTS:-0}" = 1 ] && return 0
    step "Building the test programs for Windows"
    # Each on its own, so that one that does not build is named and the others still run.
    built_tests=()
    local t
    for t in "${present_tests[@]}"; do
        if "${low[@]}" cmake --build "$build" --parallel "$jobs" --target "$t" >"$build/$t.build.log" 2>&1; then
            built_tests+=("$t")
        else
            echo "NOT BUILT: $t (log: $build/$t.build.log)"
            tail -5 "$build/$t.build.log"
            problems+=("$t did not build")
        fi
    done
}

# The Linux build the Windows outputs are compared with.
build_linux_cli() {
    step "Building the Linux command-line tool to compare with"
    "${low[@]}" "$root/scripts/build.sh" "$linux_build" -DT2_BUILD_TESTS=OFF -- tamberline-cli >/dev/null
}

# dll_closure FILE...: the DLLs the files load that are not the system's,
# found in Qt's bin folder and the MinGW runtime folders, recursively.
dll_search=()
dll_closure() {
    local -A seen=()
    local queue=("$@") f name dir
    while [ ${#queue[@]} -gt 0 ]; do
        f="${queue[0]}"; queue=("${queue[@]:1}")
        while read -r name; do
            [ -n "${seen[${name,,}]:-}" ] && continue
            for dir in "${dll_search[@]}"; do
                if [ -f "$dir/$name" ]; then
                    seen[${name,,}]="$dir/$name"
                    queue+=("$dir/$name")
                    break
                fi
            done
        done < <("$triple-objdump" -p "$f" | sed -n 's/^\s*DLL Name: //p')
    done
    printf '%s\n' "${seen[@]}"
}

make_dist() {
    step "Packing the ZIP"
    local name="tamberline-$version-win64" stage="$build/dist/stage"
    rm -rf "$stage" && mkdir -p "$stage/$name"
    local out="$stage/$name"
    cp "$build/src/app/tamberline.exe" "$build/src/cli/tamberline-cli.exe" \
       "$build/tools/panelsim/tamberline-panelsim.exe" "$out/"
    local plugin_dirs=(platforms styles imageformats tls networkinformation printsupport)
    for d in "${plugin_dirs[@]}"; do
        [ -d "$qt_prefix/plugins/$d" ] || continue
        mkdir -p "$out/$d"
        cp "$qt_prefix"/plugins/"$d"/*.dll "$out/$d/"
    done
    # The platforms a person needs: Windows itself, and offscreen for scripts.
    find "$out/platforms" -name '*.dll' ! -name qwindows.dll ! -name qoffscreen.dll -delete
    local gcc_dir
    gcc_dir="$(dirname "$("$triple-g++-posix" -print-file-name=libstdc++-6.dll)")"
    dll_search=("$qt_prefix/bin" "$gcc_dir" "/usr/$triple/lib")
    dll_closure "$out"/*.exe "$out"/*/*.dll | sort -u | xargs -r cp -t "$out/"
    printf '[Paths]\nPrefix = .\nPlugins = .\n' >"$out/qt.conf"
    cp "$root/README.md" "$out/README.txt" 2>/dev/null || true
    "$triple-strip" "$out"/*.exe "$out"/*.dll "$out"/*/*.dll
    rm -f "$build/dist/$name.zip"
    (cd "$stage" && zip -qr9 "$build/dist/$name.zip" "$name")
    echo "$build/dist/$name.zip"
}

make_installer() {
    step "Making the installer"
    local name="tamberline-$version-win64" files="$build/dist/uninstall-files.nsh"
    # What the uninstaller removes: the files, then the folders, deepest first.
    (cd "$build/dist/stage/$name" &&
        find . -type f | sed 's|^\./||; s|/|\\|g; s|.*|    Delete "$INSTDIR\\&"|' &&
        find . -mindepth 1 -type d | sort -r | sed 's|^\./||; s|/|\\|g; s|.*|    RMDir "$INSTDIR\\&"|') >"$files"
    "${low[@]}" makensis -V2 -DVERSION="$version" -DSOURCE="$build/dist/stage/$name" \
        -DICON="$root/packaging/windows/tamberline.ico" -DFILES="$files" \
        -DOUTFILE="$build/dist/tamberline-$version-setup.exe" \
        "$root/packaging/windows/tamberline.nsi"
    echo "$build/dist/tamberline-$version-setup.exe"
}

# --- Under Wine -------------------------------------------------------------------

export WINEDEBUG=-all
export WINEPREFIX="$cache/wine"

wine_path() { winepath -w "$1" 2>/dev/null; }

start_wine() {
    [ -d "$WINEPREFIX" ] || { step "Making the Wine prefix"; wineboot -i >/dev/null 2>&1 || true; }
    local gcc_dir
    gcc_dir="$(dirname "$("$triple-g++-posix" -print-file-name=libstdc++-6.dll)")"
    WINEPATH="$(wine_path "$qt_prefix/bin");$(wine_path "$gcc_dir");$(wine_path "/usr/$triple/lib")"
    export WINEPATH
}

run_wine_tests() {
    step "The test programs under wine64"
    [ ${#built_tests[@]} -gt 0 ] || return 0
    (cd "$build" && "${low[@]}" ctest --output-on-failure -R "^($(IFS='|'; echo "${built_tests[*]}"))\$") ||
        problems+=("test programs failed under Wine")
}

# The command-line tool under Wine gives byte for byte what the Linux one gives.
# Both work in folders of their own on files of the same names, so that the
# report names the same settings file; the report is stamped to the minute,
# so a pair written across a minute's turn is written again.
compare_cli() {
    step "tamberline-cli under Wine against the Linux build"
    local w="$build/compare" lin="$linux_build/src/cli/tamberline-cli"
    local win="$build/dist/stage/tamberline-$version-win64/tamberline-cli.exe"
    rm -rf "$w" && mkdir -p "$w/linux" "$w/windows"
    (cd "$w/linux" && "$lin" new new.TMB && "$lin" set-link new.TMB site.TMB --tcp 10.1.2.3 &&
        "$lin" resave site.TMB resaved.TMB)
    (cd "$w/windows" && "${low[@]}" wine "$win" new new.TMB && cp ../linux/site.TMB . &&
        "${low[@]}" wine "$win" resave site.TMB resaved.TMB)
    local try
    for try in 1 2; do
        (cd "$w/linux" && "$lin" report site.TMB report.txt)
        (cd "$w/windows" && "${low[@]}" wine "$win" report site.TMB report.txt)
        cmp -s "$w/linux/report.txt" "$w/windows/report.txt" && break
    done
    local f
    for f in new.TMB resaved.TMB report.txt; do
        if cmp "$w/linux/$f" "$w/windows/$f"; then echo "same: $f"; else problems+=("$f differs"); fi
    done
}

# Download and upload through the Windows tool to the Windows simulated panel
# over loopback TCP/IP: what comes back (onto the file sent, for the members
# the panel does not keep) is what went down.
round_trip() {
    step "Download and upload under Wine over TCP/IP"
    local w="$build/compare/windows" d="$build/dist/stage/tamberline-$version-win64"
    local port=$((20000 + RANDOM % 20000))
    (cd "$w" && exec "${low[@]}" wine "$d/tamberline-panelsim.exe" --tcp "$port") >"$w/panelsim.log" 2>&1 &
    local sim=$! i
    for i in $(seq 1 60); do grep -q '^TCP' "$w/panelsim.log" && break; sleep 1; done
    if (cd "$w" &&
        "${low[@]}" wine "$d/tamberline-cli.exe" download site.TMB --tcp "127.0.0.1:$port" &&
        "${low[@]}" wine "$d/tamberline-cli.exe" upload uploaded.TMB --tcp "127.0.0.1:$port" \
            --names --base site.TMB); then
        if cmp "$w/site.TMB" "$w/uploaded.TMB"; then echo "same: downloaded and uploaded settings"
        else problems+=("the upload differs from the download"); fi
    else
        problems+=("the transfer through the simulated panel failed")
    fi
    kill "$sim" 2>/dev/null || true
    wait "$sim" 2>/dev/null || true
}

# The program with Qt's Windows platform under Wine on a virtual display: the
# main window with the site open, then Edit > Relay Outputs > Relay Output
# Options chosen from the keyboard, as a person would.
screenshot() {
    step "A screenshot under Wine"
    local d="$build/dist/stage/tamberline-$version-win64" shot="$build/dist/windows-screenshot.png"
    local display=:$((90 + RANDOM % 9))
    rm -f "$shot"
    Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    local xvfb=$! i
    for i in $(seq 1 20); do DISPLAY="$display" xdpyinfo >/dev/null 2>&1 && break; sleep 0.5; done
    (cd "$build/compare/windows" &&
        DISPLAY="$display" QT_QPA_PLATFORM=windows exec "${low[@]}" wine "$d/tamberline.exe" site.TMB) &
    local app=$! window=
    for i in $(seq 1 180); do
        window="$(DISPLAY="$display" xdotool search --name '^VEL Tamberline II' 2>/dev/null | head -1)" || true
        [ -n "$window" ] && break
        sleep 1
    done
    if [ -n "$window" ]; then
        sleep 3
        DISPLAY="$display" xdotool windowactivate --sync "$window" 2>/dev/null || true
        local key
        for key in alt+e Right Down Down Return; do
            DISPLAY="$display" xdotool key --window "$window" "$key"
            sleep 1
        done
        sleep 3
        DISPLAY="$display" import -window root "$shot" || true
    fi
    kill "$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    if [ -f "$shot" ]; then echo "$shot"; else problems+=("no screenshot: the program's window did not appear"); fi
}

main() {
    [ -r /etc/debian_version ] || fail "this script runs on Debian"
    local started=$SECONDS
    install_packages
    add_source_entry
    linux_qt_version="$(dpkg-query -W -f='${Version}' qt6-base-dev)"
    qt_version="${linux_qt_version%%+*}"; qt_version="${qt_version%%-*}"
    qt_prefix="$cache/qt-$qt_version-mingw"
    version="$(sed -n 's/^project(Tamberline VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
    [ -n "$version" ] || fail "no version in CMakeLists.txt"
    mkdir -p "$cache" "$build/dist"
    # A changed copy only: the Qt build folders depend on it.
    cmp -s "$root/packaging/windows/mingw-w64-x86_64.cmake" "$toolchain" ||
        cp "$root/packaging/windows/mingw-w64-x86_64.cmake" "$toolchain"

    # Both sources first, so that a missing one is known at once; Qt Base is
    # built all the same, for the next run.
    serialport_version="$(dpkg-query -W -f='${Version}' qt6-serialport-dev)"
    [ -f "$qt_prefix/.qtserialport-done" ] || fetch_source qt6-serialport "$serialport_version" ||
        echo "windows-build: going on with Qt Base; the build stops before Qt SerialPort" >&2
    build_qtbase
    build_qtserialport
    build_googletest

    problems=()
    built_tests=()
    present_tests=()
    local t
    for t in "${wine_tests[@]}"; do
        grep -rqsE "(t2_add_test|add_executable)\($t( |\$)" "$root/tests" && present_tests+=("$t")
    done
    build_program
    make_dist
    make_installer
    if [ "${T2_WINDOWS_SKIP_TESTS:-0}" != 1 ]; then
        start_wine
        run_wine_tests
        build_linux_cli
        compare_cli
        round_trip
        screenshot
    fi
    step "Done in $(( (SECONDS - started) / 60 )) min"
    ls -l "$build/dist"/*.zip "$build/dist"/*.exe
    if [ ${#problems[@]} -gt 0 ]; then
        printf 'windows-build: %s\n' "${problems[@]}" >&2
        exit 1
    fi
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then main "$@"; exit; fi
