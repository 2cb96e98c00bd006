# shellcheck shell=bash
# Which Wine loader runs the 32-bit program on this machine; sourced, never
# executed. Every Wine run uses a WoW64 prefix (WINEARCH=win64) and starts
# its programs through Wine's 64-bit loader, which starts a 32-bit program by
# executing the file named "wine" beside its own real path:
#   - where the CPU runs 32-bit code, that is Wine's own 32-bit loader;
#   - where it does not ("Exec format error"), a copy of the 64-bit loader in
#     the build tree finds a script there instead, which runs the 32-bit
#     loader under QEMU's user-mode emulator. Nothing machine-wide
#     (binfmt_misc) is registered.
# A 32-bit process cannot start another 32-bit one under emulation, so what
# starts the program (a driver, a script host, a shell) is a 64-bit process.
#
#   qv_cpu_runs_32bit           true when this machine executes i386 code
#   qv_qemu_i386                prints a qemu-i386 of version 8 or later
#   qv_use_wine_loader <folder> sets QV_WINE (the loader to run programs with)
#                               and QV_PLATFORM (how the program runs); on
#                               failure QV_LOADER_PROBLEM says why
#   qv_template <folder>        the booted prefix that fresh ones copy
#   qv_fresh_prefix <folder>    a fresh prefix at $WINEPREFIX, sharing the
#                               template's libraries

QV_SYSTEM_WINE64=/usr/lib/wine/wine64
QV_SYSTEM_WINE32=/usr/lib/wine/wine
# Older QEMU spends minutes starting every 32-bit process.
QV_QEMU_MIN_MAJOR=8

# A 96-byte i386 ELF that exits with code 42: only a CPU (or kernel) that
# runs 32-bit code gets that far; others refuse it with "Exec format error".
# QV_EMULATE=1 takes the emulated way anyway, to see what such a machine sees.
qv_cpu_runs_32bit() {
    [ "${QV_EMULATE:-0}" = 1 ] && return 1
    local probe status
    probe=$(mktemp) || return 1
    printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010\140\000\000\000\140\000\000\000\005\000\000\000\000\020\000\000\270\001\000\000\000\273\052\000\000\000\315\200' >"$probe"
    chmod +x "$probe"
    "$probe" 2>/dev/null
    status=$?
    rm -f "$probe"
    [ "$status" -eq 42 ]
}

qv_qemu_i386() {
    local qemu version
    qemu=$(command -v qemu-i386) || return 1
    version=$("$qemu" --version 2>/dev/null | sed -n '1s/^qemu-i386 version \([0-9]*\)\..*/\1/p')
    [ -n "$version" ] && [ "$version" -ge "$QV_QEMU_MIN_MAJOR" ] || return 1
    echo "$qemu"
}

qv_use_wine_loader() {
    local folder=$1 qemu
    QV_LOADER_PROBLEM=
    if [ ! -x "$QV_SYSTEM_WINE64" ] || [ ! -f "$QV_SYSTEM_WINE32" ]; then
        QV_LOADER_PROBLEM="Wine's 64-bit and 32-bit loaders are not both installed (run scripts/install-deps.sh)"
        return 1
    fi
    if qv_cpu_runs_32bit; then
        QV_WINE=$QV_SYSTEM_WINE64
        QV_PLATFORM="natively"
        export QV_WINE QV_PLATFORM
        return 0
    fi
    if ! qemu=$(qv_qemu_i386); then
        QV_LOADER_PROBLEM="this machine runs no 32-bit code and has no qemu-i386 of version $QV_QEMU_MIN_MAJOR or later to emulate it (run scripts/install-deps.sh)"
        return 1
    fi
    # The 64-bit loader finds its libraries, its data and "wine" relative to
    # its own real path, so the copy gets the layout of /usr. Suites that
    # start together make it in turn, and it is made once.
    local lib=$folder/lib
    mkdir -p "$folder" || return 1
    (
        flock 9 || exit 1
        cmp -s "$QV_SYSTEM_WINE64" "$lib/wine/wine64" && exit 0
        mkdir -p "$lib/wine" "$folder/share" &&
            ln -sfn /usr/lib/x86_64-linux-gnu "$lib/x86_64-linux-gnu" &&
            ln -sfn /usr/lib/i386-linux-gnu "$lib/i386-linux-gnu" &&
            ln -sfn /usr/share/wine "$folder/share/wine" || exit 1
        # Without WINELOADERNOEXEC the 32-bit loader would re-execute itself
        # natively, and fail.
        printf '#!/bin/sh\nWINELOADERNOEXEC=1 exec %s %s "$@"\n' "$qemu" "$QV_SYSTEM_WINE32" \
            >"$lib/wine/wine" && chmod +x "$lib/wine/wine" &&
            cp "$QV_SYSTEM_WINE64" "$lib/wine/wine64.new" && mv -f "$lib/wine/wine64.new" "$lib/wine/wine64"
    ) 9>"$folder/.lock" || return 1
    QV_WINE=$lib/wine/wine64
    QV_PLATFORM="under QEMU user-mode emulation ($("$qemu" --version | head -n 1))"
    export QV_WINE QV_PLATFORM
}

# qv_template <folder>: boots the WoW64 prefix <folder>/template once, with
# its 32-bit side (syswow64) filled. Booting costs about half a minute under
# emulation. Suites that start together take turns at the lock, so only the
# first one boots; the template's server has ended before anyone copies it,
# so its registry is all on disk. <folder>/template.booted marks the end of
# the boot: nothing in the template may be newer.
qv_template() {
    local template=$1/template
    mkdir -p "$1" || return 1
    (
        flock 9 || exit 1
        # The mark is made only once the 32-bit side is there.
        [ -f "$1/template.booted" ] && [ -f "$template/drive_c/windows/syswow64/cscript.exe" ] &&
            exit 0
        rm -rf "$template" "$1/template.booted"
        # No Mono or Gecko installer prompt may block an unattended boot.
        WINEPREFIX=$template WINEDLLOVERRIDES="mscoree,mshtml=" timeout 180 "$QV_WINE" wineboot -i \
            >/dev/null 2>&1 && WINEPREFIX=$template timeout 60 wineserver -w &&
            [ -f "$template/drive_c/windows/syswow64/cscript.exe" ] && touch "$1/template.booted"
    ) 9>"$1/template.lock"
}

# qv_fresh_prefix <folder>: makes $WINEPREFIX a fresh copy of the template.
# Wine's own libraries, 1.2 GB of its 1.3 GB, are hard links to the
# template's, so that ten suites' prefixes fit on a small disk: nothing
# writes to them. The rest is copied, the registry files above all, which
# Wine's server rewrites in place when they have a second link.
QV_SHARED_FOLDERS="system32 syswow64 winsxs"
qv_fresh_prefix() {
    local template=$1/template windows=drive_c/windows folder
    qv_template "$1" && rm -rf "$WINEPREFIX" && mkdir -p "$WINEPREFIX" || return 1
    # A prefix that wrote through a shared file changed every other one.
    if [ -n "$(find "$template" -newer "$1/template.booted" -print -quit)" ]; then
        echo "the template $template changed after its boot; remove it to boot it anew" >&2
        return 1
    fi
    # shellcheck disable=SC2046 # one --exclude per shared folder
    tar -C "$template" $(printf -- "--exclude=./$windows/%s " $QV_SHARED_FOLDERS) -cf - . |
        tar -C "$WINEPREFIX" -xf - || return 1
    for folder in $QV_SHARED_FOLDERS; do
        cp -a --link "$template/$windows/$folder" "$WINEPREFIX/$windows/" || return 1
    done
}
