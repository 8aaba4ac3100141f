#!/usr/bin/env bash
# The installer as a studio deploys it, under Wine in a prefix of its own: read back with
# msiinfo, installed silently, every file, the shortcut, the Add/Remove entry and the PATH
# found, the installed calculator started and ostrel-tc run by name; a newer build installed
# over it, an older one refused; then removed, leaving nothing of ours behind.
#
#   check_msi.sh WINDOWS_BUILD_DIR APP_DIR
# APP_DIR is the unpacked zip, whose files the installer must carry.
set -uo pipefail
windows=$(cd "$1" && pwd)
app=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
msi=$(ls "$windows"/Ostrel-*-win64.msi)
version=$(basename "$msi" | sed 's/^Ostrel-\(.*\)-win64.msi$/\1/')
newer=${version%.*}.$((${version##*.} + 1))
upgrade_code=6F0B3C52-8E1D-4A47-9C3E-2D75B0A41E96

work=$(mktemp -d "${TMPDIR:-/tmp}/ostrel-msi.XXXXXX")
# A display of its own, before Wine starts: its desktop opens on the display it first sees.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n 1 "$work/display")
. "$here/wine_env.sh" "$work/prefix" || exit 2
trap 'wine_end; kill "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
installed="$WINEPREFIX/drive_c/Program Files/Quorvane/Ostrel"
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
environment='HKLM\System\CurrentControlSet\Control\Session Manager\Environment'

. "$here/checks.sh"
# Output through files, never pipes: a Wine service that a program starts keeps a pipe open.
reg_text() { # reg query's arguments
    win reg query "$@" >"$work/reg.out" 2>/dev/null
    local status=$?
    tr -d '\r' <"$work/reg.out"
    return $status
}
msiexec() { # args...: msiexec's status, its log in $work/msiexec.log
    cp "$1" "$work/prefix/drive_c/" 2>/dev/null
    win msiexec "${@:2}" /qn /l*v 'C:\msiexec.log' >/dev/null 2>&1
    local status=$?
    iconv -f utf-16le -t utf-8 "$work/prefix/drive_c/msiexec.log" >"$work/msiexec.log" 2>/dev/null ||
        cp "$work/prefix/drive_c/msiexec.log" "$work/msiexec.log"
    return $status
}
# Our entries under Uninstall, one "key version" line each.
entries() {
    local key
    for key in $(reg_text "$uninstall" | grep -o '{[0-9A-F-]*}$'); do
        reg_text "$uninstall\\$key" /v DisplayName | grep -q 'REG_SZ *Ostrel$' || continue
        echo "$key $(reg_text "$uninstall\\$key" /v DisplayVersion | sed -n 's/.*REG_SZ *//p')"
    done
}
shortcuts() { find "$WINEPREFIX/drive_c" -path '*Start Menu*' -iname 'Ostrel*.lnk'; }

read_back() {
    local properties summary
    properties=$(msiinfo export "$msi" Property | tr -d '\r')
    summary=$(msiinfo suminfo "$msi")
    local want
    for want in "ProductName	Ostrel" "ProductVersion	$version" "Manufacturer	Quorvane" \
                "UpgradeCode	{$upgrade_code}" "ALLUSERS	1" "ARPNOREPAIR	1"; do
        grep -qx "$want" <<<"$properties" || fail "Property table lacks '$want'" || return 1
    done
    for want in "Subject: Ostrel $version" "Author: Quorvane" "Template: x64;1033"; do
        grep -qx "$want" <<<"$summary" || fail "summary lacks '$want'" || return 1
    done
}

every_file() {
    local file missing=0
    while read -r file; do
        cmp -s "$app/$file" "$installed/$file" || { echo "  not installed as shipped: $file"; missing=1; }
    done < <(cd "$app" && find . -type f ! -name pellund_calls.exe)
    return $missing
}

# Windows has no man: the pages as text, for Notepad (CRLF lines).
manual_pages() {
    local page
    for page in ostrel ostrel-tc; do
        grep -q $'^SYNOPSIS\r$' "$installed/$page.txt" || fail "no $page.txt" || return 1
    done
}

shortcut() {
    local link
    link=$(shortcuts)
    [ "$(grep -c . <<<"$link")" -eq 1 ] || fail "shortcuts: ${link:-none}" || return 1
    strings -el "$link" | grep -qx 'Time Code Calculator' || fail "no description" || return 1
    strings "$link" | grep -q 'Quorvane\\Ostrel\\Ostrel.exe' || fail "not to Ostrel.exe" || return 1
    strings -el "$link" | grep -q 'ostrel.ico$' || fail "no icon" || return 1
}

add_remove_entry() { # version
    local list key values
    list=$(entries)
    [ "$(grep -c . <<<"$list")" -eq 1 ] || fail "entries: ${list:-none}" || return 1
    [ "${list#* }" = "$1" ] || fail "version ${list#* }, not $1" || return 1
    key=${list%% *}
    values=$(reg_text "$uninstall\\$key")
    grep -Eq 'Publisher +REG_SZ +Quorvane$' <<<"$values" || fail "publisher" || return 1
    grep -Eq 'NoRepair +REG_DWORD +0x1$' <<<"$values" || fail "repair offered" || return 1
    # Add/Remove Programs takes an installed product's icon from its Installer entry.
    reg_text 'HKLM\Software\Classes\Installer\Products' /s | grep -q 'ProductIcon.*ostrel.ico$' ||
        fail "no product icon" || return 1
}

on_path() { reg_text "$environment" /v PATH | grep -q 'Quorvane\\Ostrel'; }

window_maps() {
    win "C:\\Program Files\\Quorvane\\Ostrel\\Ostrel.exe" >/dev/null 2>&1 &
    local tries
    for tries in $(seq 100); do
        xwininfo -root -tree 2>/dev/null | grep -q '"Quorvane Time Code Calculator"' && break
        sleep 0.2
    done
    "$WINESERVER" -k >/dev/null 2>&1; "$WINESERVER" -w >/dev/null 2>&1
    "$WINESERVER" -p </dev/null >/dev/null 2>&1
    [ "$tries" -lt 100 ] || fail "no window in 20 s"
}

by_name() {
    local out
    win cmd /c 'ostrel-tc --rate 25 01:00:00:00 + 1' >"$work/cmd.out" 2>&1
    out=$(tr -d '\r' <"$work/cmd.out")
    [ "$out" = 01:00:00:01 ] || fail "ostrel-tc by name: $out"
}

upgrade() {
    msiexec "$work/newer/Ostrel-$newer-win64.msi" /i "C:\\Ostrel-$newer-win64.msi" || fail "install failed" || return 1
    add_remove_entry "$newer" && every_file && on_path
}

# Windows Installer shows a failed launch condition's text; under /qn Wine logs only the failure.
downgrade_refused() {
    local status=0
    msiexec "$msi" /i "C:\\$(basename "$msi")" || status=$?
    # 1603, a fatal error, as an exit status: its low byte.
    [ "$status" -eq $((1603 % 256)) ] || fail "status $status, not 1603 (a fatal error)" || return 1
    msiinfo export "$msi" LaunchCondition | tr -d '\r' |
        grep -qx 'NOT WIX_DOWNGRADE_DETECTED	A newer version of Ostrel is already installed.*' ||
        fail "no message for a downgrade" || return 1
    add_remove_entry "$newer"
}

nothing_left() {
    local left=0
    [ -z "$(find "$WINEPREFIX/drive_c/Program Files/Quorvane" -type f 2>/dev/null)" ] ||
        { echo "  files left"; left=1; }
    [ -z "$(shortcuts)" ] || { echo "  shortcut left"; left=1; }
    [ -z "$(entries)" ] || { echo "  Add/Remove entry left"; left=1; }
    ! on_path || { echo "  PATH entry left"; left=1; }
    ! reg_text 'HKLM\Software\Classes\Installer\Products' /s | grep -q 'ProductName.*Ostrel$' ||
        { echo "  Installer entry left"; left=1; }
    ! reg_text 'HKLM\Software\Quorvane' >/dev/null || { echo "  Quorvane key left"; left=1; }
    return $left
}

# The PATH entry is a feature of its own, which a deployment may leave out.
program_alone() {
    msiexec "$msi" /i "C:\\$(basename "$msi")" ADDLOCAL=Ostrel || fail "install failed" || return 1
    every_file || return 1
    ! on_path || fail "PATH changed" || return 1
    msiexec "$msi" /x "C:\\$(basename "$msi")" && nothing_left
}

check "the installer reads back" read_back
if msiexec "$msi" /i "C:\\$(basename "$msi")"; then
    check "every file installed" every_file
    check "the manual pages as text" manual_pages
    check "a Start menu shortcut" shortcut
    check "an Add/Remove entry" add_remove_entry "$version"
    check "the installed calculator maps its window" window_maps
    check "ostrel-tc by name from a command prompt" by_name
    bash "$root/packaging/windows/make_msi.sh" "$windows" "$newer" "$work/newer" >/dev/null
    check "a newer build replaces it" upgrade
    check "an older build is refused" downgrade_refused
    msiexec "$work/newer/Ostrel-$newer-win64.msi" /x "C:\\Ostrel-$newer-win64.msi"
    check "removed, nothing is left" nothing_left
    check "the program alone leaves PATH alone" program_alone
else
    check "installed silently" fail "msiexec: $(tail -n 5 "$work/msiexec.log")"
fi
checks_end
