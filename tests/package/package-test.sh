#!/usr/bin/env bash
# The Debian package, in three steps that CTest runs as three tests:
#   build     cpack writes <build>/package/vantorix_<version>_amd64.deb from the built program;
#   contents  the exact file list, lintian (no errors), desktop-file-validate and appstreamcli on the files;
#   run       the unpacked program prints its version and shows its window (under Xvfb, so that the
#             window's class can be read), and every QML module and Qt plugin it loads at run time comes
#             from a package named in Depends.
# Usage: package-test.sh build|contents|run <build-dir> <source-dir> <version> <app-id>
set -euo pipefail
mode=$1 build=$2 src=$3 version=$4 app_id=$5
deb="$build/package/vantorix_${version}_amd64.deb"
fail() { echo "FAIL: $*" >&2; exit 1; }
[ "$mode" = build ] || [ -f "$deb" ] || fail "no package at $deb (the package_build test writes it)"

scratch=""
unpack() {
    scratch="$(mktemp -d -t vantorix-package.XXXXXX)"
    trap 'rm -rf "$scratch"' EXIT
    dpkg-deb -x "$deb" "$scratch/root"
}

build_package() {
    rm -rf "$build/package"
    "${CPACK:-cpack}" --config "$build/CPackConfig.cmake" -B "$build/package"
    [ -f "$deb" ] || fail "cpack did not write $deb"
    dpkg-deb -I "$deb"
}

check_contents() {
    local expected actual
    expected="$(sort <<EOF
usr/bin/vantorix
usr/share/applications/$app_id.desktop
usr/share/doc/vantorix/changelog.gz
usr/share/doc/vantorix/copyright
usr/share/icons/hicolor/128x128/apps/$app_id.png
usr/share/icons/hicolor/256x256/apps/$app_id.png
usr/share/icons/hicolor/48x48/apps/$app_id.png
usr/share/icons/hicolor/64x64/apps/$app_id.png
usr/share/icons/hicolor/scalable/apps/$app_id.svg
usr/share/man/man1/vantorix.1.gz
usr/share/metainfo/$app_id.metainfo.xml
EOF
)"
    # Everything but directories: a stray file or link (the demo service, a build artefact) shows here.
    actual="$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./||' | sort)"
    diff -u <(echo "$expected") <(echo "$actual") || fail "the package's files differ from the list (- expected, + found)"
    dpkg-deb -c "$deb" | awk '$1 !~ /^d/ && $2 != "root/root" {found=1; print} END {exit found}' ||
        fail "files not owned by root"

    # lintian exits non-zero on errors only; its warnings are printed for the record.
    echo "--- lintian"
    lintian --fail-on error --display-info --tag-display-limit 0 "$deb" || fail "lintian reports errors"

    # apt can install it here: every package named in Depends exists (a misspelt name fails this).
    echo "--- apt-get --simulate install"
    apt-get --simulate -q install "$deb" || fail "apt cannot resolve the package's dependencies"

    unpack
    local root="$scratch/root" desktop="$scratch/root/usr/share/applications/$app_id.desktop"
    echo "--- desktop-file-validate"
    desktop-file-validate "$desktop" || fail "desktop-file-validate"
    echo "--- appstreamcli validate"
    appstreamcli validate --no-net "$root/usr/share/metainfo/$app_id.metainfo.xml" || fail "appstreamcli validate"
    appstreamcli validate-tree --no-net "$root" || fail "appstreamcli validate-tree"

    # One id, one version: the entry's icon is installed; the metainfo names the entry and this release.
    grep -qx "Icon=$app_id" "$desktop" || fail "desktop entry icon is not $app_id"
    grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$root/usr/share/metainfo/$app_id.metainfo.xml" ||
        fail "metainfo launchable"
    grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/$app_id.metainfo.xml" ||
        fail "metainfo has no release $version"
    [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version is not $version"
    zcat "$root/usr/share/man/man1/vantorix.1.gz" | grep -q "vantorix $version" || fail "manual page version"
    for option in start-minimized version help VANTORIX_SERVICE_URL VANTORIX_RDP_CLIENT VANTORIX_KEY_STORE; do
        zcat "$root/usr/share/man/man1/vantorix.1.gz" | sed 's/\\-/-/g' | grep -q -- "$option" ||
            fail "manual page does not describe $option"
    done
    echo "contents: ok"
}

# The package names of the Depends field (alternatives included, versions and architectures dropped).
depends_packages() {
    dpkg-deb -f "$deb" Depends | tr ',|' '\n\n' | sed 's/(.*)//; s/:.*//; s/[[:space:]]//g' | grep -v '^$' | sort -u
}

# The QML modules that a module brings in: its qmldir's imports and dependencies (not the optional ones),
# and, marked "?", the imports of the QML that its plugin and the Qt libraries behind it carry compiled in.
# The file dialog's own views import Qt.labs.folderlistmodel, which no qmldir names; but a style also
# carries controls this program never creates (the Basic style's SelectionRectangle imports QtQuick.Shapes),
# so a "?" module counts only when it is installed here, where the program and its view tests run.
module_imports() {
    local dir=$1 lib
    sed -n 's/^\(import\|depends\) \([A-Za-z][A-Za-z0-9.]*\).*/\2/p' "$dir/qmldir"
    for lib in $( (ls "$dir"/*.so 2>/dev/null && ldd "$dir"/*.so 2>/dev/null | awk '/libQt6/ {print $3}') | sort -u); do
        strings "$lib" | sed -n 's/^import \([A-Za-z][A-Za-z0-9.]*\)\( [0-9.]*\)\?\( as [A-Za-z]*\)\?$/?\1/p'
    done
}

check_run() {
    unpack
    local program="$scratch/root/usr/bin/vantorix" output
    output="$(env -u DISPLAY "$program" --version)" || fail "--version failed"
    [ "$output" = "vantorix $version" ] || fail "--version printed '$output'"
    "$program" --help | grep -q -- "--start-minimized" || fail "--help does not list --start-minimized"

    # A user of its own, a closed service port (nothing leaves the machine), the QML import trace on.
    local home="$scratch/home" log="$scratch/run.log"
    mkdir -p "$home/.config" "$home/.local/share" "$home/.cache" "$home/runtime"
    chmod 700 "$home/runtime"
    HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
        XDG_CACHE_HOME="$home/.cache" XDG_RUNTIME_DIR="$home/runtime" VANTORIX_KEY_STORE=file \
        VANTORIX_SERVICE_URL=http://127.0.0.1:9 QML_IMPORT_TRACE=1 QT_QPA_PLATFORM=xcb \
        xvfb-run -a -n 250 -s "-screen 0 1280x800x24" sh -c '
            "$1" >"$2" 2>&1 &
            pid=$!
            until grep -qs "Main window visible: true" "$2"; do
                kill -0 $pid 2>/dev/null || { echo "the program ended before showing its window"; exit 1; }
                sleep 0.2
            done
            window=$(xdotool search --sync --onlyvisible --class "^vantorix\$" | head -n 1)
            xprop -id "$window" WM_CLASS >"$2.props"
            kill -TERM $pid
            wait $pid' sh "$program" "$log" || { cat "$log"; fail "the unpacked program did not show its window"; }
    cat "$log.props"
    # The desktop entry's StartupWMClass is the window's class (Qt 6.4 names the desktop entry to Wayland
    # compositors only, not on X11).
    local wm_class
    wm_class="$(sed -n 's/^StartupWMClass=//p' "$scratch/root/usr/share/applications/$app_id.desktop")"
    grep -q "^WM_CLASS(STRING) = .*, \"$wm_class\"$" "$log.props" || fail "window class is not '$wm_class'"

    # The modules: what the views import, the style the controls load, what the program imported while it
    # ran, and all that these bring in. Vantorix and Vantorix.Core are compiled into the program.
    local qml_root todo=() uri optional dir pkg missing=()
    qml_root="$("$QTPATHS" -query QT_INSTALL_QML)"
    mapfile -t todo < <(
        find "$src/qml" -name '*.qml' -exec sed -n 's/^import \([A-Za-z][A-Za-z0-9.]*\).*/\1/p' {} +
        sed -n 's/^Style=\(.*\)/QtQuick.Controls.\1/p' "$src/qtquickcontrols2.conf"
        sed -n 's/.*addLibraryImport: [^ ]* "\([^"]*\)".*/\1/p' "$log"
    )
    local -A modules=()
    while [ "${#todo[@]}" -gt 0 ]; do
        uri=${todo[0]#\?}
        case "${todo[0]}" in \?*) optional=1 ;; *) optional=0 ;; esac
        todo=("${todo[@]:1}")
        case "$uri" in Vantorix | Vantorix.*) continue ;; esac
        [ -n "${modules[$uri]+x}" ] && continue
        dir="$qml_root/${uri//.//}"
        if [ ! -f "$dir/qmldir" ]; then
            [ "$optional" = 1 ] && continue
            fail "QML module $uri is not installed on this system ($dir)"
        fi
        modules[$uri]="$dir"
        mapfile -t -O "${#todo[@]}" todo < <(module_imports "$dir")
    done
    local depends
    depends="$(depends_packages)"
    local -a needed=()
    for uri in "${!modules[@]}"; do needed+=("${modules[$uri]}/qmldir"); done
    # Qt plugins loaded by name: the X11 platform, the SVG images of the icons, the TLS back-end.
    local plugins
    plugins="$("$QTPATHS" -query QT_INSTALL_PLUGINS)"
    needed+=("$plugins/platforms/libqxcb.so" "$plugins/imageformats/libqsvg.so" "$plugins/tls/libqopensslbackend.so")
    for file in "${needed[@]}"; do
        pkg="$(dpkg -S "$file" | cut -d: -f1)"
        grep -qx "$pkg" <<<"$depends" || missing+=("$pkg ($file)")
    done
    echo "run: ${#modules[@]} QML modules and 3 plugins checked against Depends"
    [ "${#missing[@]}" -eq 0 ] || fail "not in Depends: ${missing[*]}"
    echo "run: ok"
}

case "$mode" in
build) build_package ;;
contents) check_contents ;;
run) check_run ;;
*) fail "unknown step $mode" ;;
esac
