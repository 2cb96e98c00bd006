#!/usr/bin/env bash
# The program run from its command line under Wine, in a prefix of its own:
# the exit code of every outcome class, the log file, /copy, a second copy,
# a real client after /s and after /u /s; libraries planted under system
# names beside the program and in the current folder, with Windows' search
# order restored; and a component whose own dependency lies beside it.
#
# Usage: unattended.sh SOURCE_DIR BUILD_DIR
# BUILD_DIR holds REGQuorvalis.exe, samples/ and planted/planted.dll. The
# program runs under WoW64 in a 64-bit prefix, started by the 64-bit loader
# (see scripts/wine-loader.sh); the registry tool and the script client are
# the 32-bit ones, so they see the registry as the program does.
set -u
if [ $# -ne 2 ]; then
    echo "usage: $0 SOURCE_DIR BUILD_DIR" >&2
    exit 2
fi
source_dir=$1
build=$(cd "$2" && pwd)
export WINEARCH=win64 WINEPREFIX=$build/wine/unattended WINEDEBUG=-all
system='C:\windows\syswow64'
# Accented file names reach Wine only under a UTF-8 locale that is generated.
export LANG=en_US.UTF-8
unset LC_ALL LC_CTYPE

. "$source_dir/scripts/wine-loader.sh"
if ! qv_use_wine_loader "$build/wine/loader"; then
    echo "FAIL: $QV_LOADER_PROBLEM"
    exit 1
fi
wine=$QV_WINE
echo "the 32-bit program runs $QV_PLATFORM"
if ! locale -a | grep -qix 'en_US\.utf-\?8'; then
    echo "FAIL: the en_US.UTF-8 locale is not generated"
    exit 1
fi

drive=$WINEPREFIX/drive_c
program='C:\REGQuorvalis\REGQuorvalis.exe'
component='C:\Automação Comercial\Quorvalis.dll'
log='C:\Automação Comercial\qv.log'
progid='HKLM\Software\Classes\Quorvalis.dll.object'
class='HKLM\Software\Classes\CLSID\{5D0E3C71-9A4B-4F26-B3E8-71C2A94D06F5}\InprocServer32'
planted_note=$drive/planted-loaded.txt
# Windows' own order: a native file found first would be taken.
search_order='version,comdlg32,oleaut32=n,b'

failures=0
pass() { echo "ok:   $*"; }
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
unix_path() { printf '%s/%s' "$drive" "$(printf '%s' "${1#C:\\}" | tr '\\' /)"; }

. "$source_dir/scripts/own-display.sh"
finish() {
    timeout 20 wineserver -k >/dev/null 2>&1
    stop_own_display
}
trap finish EXIT

prepare() {
    qv_fresh_prefix "$build/wine" || { echo "FAIL: cannot create the prefix"; exit 1; }
    [ -n "${DISPLAY:-}" ] || start_own_display "$WINEPREFIX"
    local planted=$build/planted/planted.dll
    mkdir -p "$drive/REGQuorvalis" "$drive/sem-ocx" "$drive/Atual" "$drive/Outra" "$drive/Corrompida" \
        "$drive/Destino Ação" \
        "$(dirname "$(unix_path "$component")")" "$drive/Dep"
    cp "$build/REGQuorvalis.exe" "$build/samples/registrar/REGQUORVALIS2.OCX" "$drive/REGQuorvalis/"
    cp "$build/REGQuorvalis.exe" "$drive/sem-ocx/"
    # Wine's own user32 imports version.dll, so a copy beside any program is
    # loaded at start under this search order: that one is planted only in
    # the current folder, which a search reaches after the system folder.
    for name in version comdlg32 oleaut32; do
        cp "$planted" "$drive/Atual/$name.dll"
    done
    cp "$planted" "$drive/REGQuorvalis/comdlg32.dll"
    cp "$planted" "$drive/REGQuorvalis/oleaut32.dll"
    cp "$build/samples/component/"* "$(dirname "$(unix_path "$component")")/"
    cp "$build/samples/component-dep/"* "$drive/Dep/"
    cp "$build/samples/component/Quorvalis.dll" "$drive/Outra/Outra.dll"
    cp "$build/samples/component/Quorvalis.tlb" "$drive/Outra/Outra.tlb"
    cp "$build/samples/component/Quorvalis.dll" "$drive/Corrompida/"
    : >"$drive/Corrompida/Quorvalis.tlb"
    cp "$source_dir/samples/component/client-check.vbs" "$drive/"
}

# run_program EXE ARGS...: from C:\Atual, where planted copies lie; sets $code.
run_program() {
    local exe=$1
    shift
    (cd "$drive/Atual" && WINEDLLOVERRIDES=$search_order timeout 60 "$wine" "$exe" "$@" \
        >/dev/null 2>&1)
    code=$?
}

# expect_exit CODE DESCRIPTION ARGS...: Wine hands a Unix shell only the low
# byte of the exit code.
expect_exit() {
    local expected=$1 what=$2
    shift 2
    run_program "$program" "$@"
    if [ "$code" = $((expected % 256)) ]; then
        pass "$what: exit $expected"
    else
        fail "$what: exit $code, expected $expected (low byte $((expected % 256)))"
    fi
}

# The class's path, read through an export: reg query prints in the console's
# code page, which has no "ç".
registered_path() {
    rm -f "$drive/class.reg"
    timeout 30 "$wine" "$system\\reg.exe" export "$class" 'C:\class.reg' /y >/dev/null 2>&1
    [ -f "$drive/class.reg" ] || return 0
    iconv -f UTF-16 -t UTF-8 "$drive/class.reg" | tr -d '\r' | sed -n 's/^@="\(.*\)"$/\1/p' |
        sed 's/\\\\/\\/g'
    rm -f "$drive/class.reg"
}

expect_registered() {
    local actual
    actual=$(registered_path)
    if [ "$actual" = "$1" ]; then pass "$2: InprocServer32 is [$1]"; else fail "$2: InprocServer32 is [$actual], expected [$1]"; fi
}

expect_unregistered() {
    if timeout 30 "$wine" "$system\\reg.exe" query "$progid" >/dev/null 2>&1; then fail "$1: the ProgID key is there"; else pass "$1: nothing registered"; fi
}

# expect_client ok|fails DESCRIPTION: the component through a real script client.
expect_client() {
    local output
    output=$(cd "$drive" && timeout 60 "$wine" "$system\\cscript.exe" //nologo 'C:\client-check.vbs' 2>&1 | tr -d '\r')
    case $1:$output in
    ok:*"QUORVALIS CLIENT OK Versao=[1.2.3.4]"* | fails:*"QUORVALIS CLIENT FAILED"*) pass "$2: client $1" ;;
    *) fail "$2: client expected to be $1, said: $output" ;;
    esac
}

# The log file's lines as UTF-8 text without CRs, after checking the format.
log_lines() {
    local file
    file=$(unix_path "$log")
    [ "$(head -c 3 "$file" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "log: no UTF-8 byte order mark"
    [ "$(grep -c $'\xef\xbb\xbf' "$file")" = 1 ] || fail "log: a byte order mark past the start"
    iconv -f UTF-8 -t UTF-8 "$file" >/dev/null 2>&1 || fail "log: not UTF-8"
    [ "$(grep -vc $'\r$' "$file")" = 0 ] || fail "log: a line without CRLF"
    tail -c +4 "$file" | tr -d '\r'
}

expect_log() {
    local actual
    actual=$(log_lines | grep -v '^=== ')
    if [ "$actual" = "$1" ]; then pass "log: $2"; else fail "log: $2"$'\n'"--- got:"$'\n'"$actual"$'\n'"--- expected:"$'\n'"$1"; fi
}

registration_lines() {
    cat <<EOF
[mensagem não exibida] Quorvalis comunica com o SAT VORAN | Deseja copiar a biblioteca para o diretório do aplicativo?
[mensagem não exibida] A V I S O | A biblioteca ZEPHOL.dll e suas dependèncias devem ser copiadas para a mesma pasta da lib Quorvalis.
REGISTRANDO  DLL   OU   ACESSANDO OS SEUS REGISTROS
OPEN \\HKEY_LOCAL_MACHINE\\Software\\Classes
OPEN/CREATE ..\\Quorvalis.dll.object
SET DESCRIÇÃO =  Quorvalis comunica com o SAT VORAN
OPEN/CREATE ..\\CLSID
SET CLSID = {5D0E3C71-9A4B-4F26-B3E8-71C2A94D06F5}
OPEN \\HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID
OPEN/CREATE ..\\{5D0E3C71-9A4B-4F26-B3E8-71C2A94D06F5})
OPEN/CREATE ..\\InprocServer32)
SET PATH ..\\InprocServer32 = $1
SET THREAD MODEL ThreadingModel = both
OPEN/CREATE KEY ..\\ProgID
SET ..\\ProgID = Quorvalis.dll.object
Register type lib Quorvalis.tlb
REGISTRADO Quorvalis.dll COM SUCESSO COMO UM   <C O M>  COMPONENTE.
[mensagem não exibida] Quorvalis comunica com o SAT VORAN | REGISTRADO Quorvalis.dll COM SUCESSO COMO UM   <C O M>  COMPONENTE.
D L L      R E G I S T R A D A !
EOF
}

reset_lines() {
    cat <<'EOF'
ZERANDO REGISTRO...
DELETANDO \HKEY_LOCAL_MACHINE\Software\Classes\Quorvalis.dll.object\CLSID
DELETANDO Quorvalis.dll.object
DELETANDO \HKEY_LOCAL_MACHINE\Software\Classes\CLSID\{5D0E3C71-9A4B-4F26-B3E8-71C2A94D06F5}\InprocServer32
DELETANDO \HKEY_LOCAL_MACHINE\Software\Classes\CLSID\{5D0E3C71-9A4B-4F26-B3E8-71C2A94D06F5}\ProgID
DELETANDO \HKEY_LOCAL_MACHINE\Software\Classes\CLSID\{5D0E3C71-9A4B-4F26-B3E8-71C2A94D06F5}
DELETANDO type library
ZERAMENTO COMPLETADO!
[mensagem não exibida] Quorvalis comunica com o SAT VORAN | Removido o registro da biblioteca   Quorvalis.dll   como um   <C O M>  componente.
EOF
}

prepare

echo "== refused command lines change nothing"
expect_exit 1 "unknown switch" /s /x "$component" /log "$log"
expect_exit 1 "no library" /s
expect_exit 1 "the reset takes no library" /u /s "$component"
expect_exit 1 "usage" /s /?
expect_unregistered "refused lines"
[ -e "$(unix_path "$log")" ] && fail "a refused line created the log file"

echo "== register and reset, with the log file"
expect_exit 0 "register" /s "$component" /log "$log"
expect_registered "$component" "register"
expect_client ok "register"
expect_log "$(registration_lines "$component")" "the register run's lines and boxes"
header=$(log_lines | head -n 1)
if [[ $header =~ ^===\ REGQuorvalis\ .*\ -\ [0-9]{2}/[0-9]{2}/[0-9]{4}\ [0-9]{2}:[0-9]{2}:[0-9]{2}\ -\ argumentos:\ /s\ .*Automação\ Comercial.*\ ===$ ]]; then
    pass "log: dated header [$header]"
else
    fail "log: header [$header]"
fi
expect_exit 0 "reset" /u /s /log "$log"
expect_unregistered "reset"
expect_client fails "reset"
expect_log "$(registration_lines "$component")"$'\n'"$(reset_lines)" "the reset appended after a header of its own"
[ "$(log_lines | grep -c '^=== ')" = 2 ] || fail "log: expected two headers"

echo "== each outcome class has its exit code"
rm -f "$(unix_path "$log")"
expect_exit 6 "library of another name" /s 'C:\Outra\Outra.dll' /log "$log"
expect_log "[mensagem não exibida] Quorvalis comunica com o SAT VORAN | E R R O   - ARQUIVO SELECIONADO  NAO E' \"Quorvalis.DLL\"        Outra.dll" \
    "a refusal's box, its line break a blank"
expect_exit 6 "no such library" /s 'C:\Nada\Quorvalis.dll'
expect_exit 5 "unreadable type library, undone" /s 'C:\Corrompida\Quorvalis.dll'
expect_unregistered "undone registration"
expect_exit 7 "log file in a missing folder" /s "$component" /log 'C:\Nada\qv.log'
expect_unregistered "unwritable log"
run_program 'C:\sem-ocx\REGQuorvalis.exe' /s "$component"
if [ "$code" = 3 ]; then pass "no registrar library: exit 3"; else fail "no registrar library: exit $code, expected 3"; fi

echo "== /copy"
expect_exit 0 "copy, then register" /s "$component" /copy 'C:\Destino Ação\'
[ -f "$drive/Destino Ação/Quorvalis.tlb" ] && pass "copy: type library beside the copy" || fail "copy: no type library in C:\\Destino Ação"
expect_registered 'C:\Destino Ação\Quorvalis.dll' "copy"
expect_client ok "copy"
expect_exit 0 "reset after the copy" /u /s

echo "== a dependency beside the component, from another current folder"
rm -f "$(unix_path "$log")"
expect_exit 0 "register the component with a dependency" /s 'C:\Dep\Quorvalis.dll' /log "$log"
if log_lines | grep -q 'NAO ENCONTRADA'; then fail "dependency: the version query did not find the library"; else pass "dependency: version read"; fi
expect_client ok "dependency"
expect_exit 0 "reset after the dependency" /u /s

echo "== one copy at a time"
(cd "$drive/Atual" && WINEDLLOVERRIDES=$search_order "$wine" "$program" >/dev/null 2>&1) &
first=$!
# The first copy takes the mutex before it makes its window: once the window
# is on the display, the mutex is held.
for _ in $(seq 60); do
    xwininfo -root -tree 2>/dev/null | grep -q 'VORAN-Instalador' && break
    sleep 0.5
done
expect_exit 1618 "unattended second copy" /s "$component"
expect_unregistered "second copy"
expect_exit 1618 "window second copy"
# The whole code, as a batch file sees it.
printf '@start "" /wait C:\\REGQuorvalis\\REGQuorvalis.exe /s C:\\Outra\\Outra.dll\r\n@echo %%ERRORLEVEL%%\r\n' \
    >"$drive/second.bat"
level=$(cd "$drive" && timeout 60 "$wine" cmd /c 'C:\second.bat' 2>/dev/null | tr -d '\r')
[ "$level" = 1618 ] && pass "start /wait in a batch file sees 1618" || fail "start /wait in a batch file saw [$level]"
kill -0 "$first" 2>/dev/null && pass "the first copy is still running" || fail "the first copy ended"
timeout 20 wineserver -k >/dev/null 2>&1
wait "$first" 2>/dev/null

echo "== planted libraries"
if [ -e "$planted_note" ]; then fail "planted libraries were loaded: $(tr -d '\r' <"$planted_note")"; else pass "no planted library was ever loaded"; fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all checks passed"
