#!/usr/bin/env bash
# Checks the binaries the Debian package ships: hardened as Debian builds its own programs,
# with dpkg-buildflags' flags on every compile and link line; a search path on the program
# only; their debug files 0644 with compressed sections.
#   check_binaries.sh BUILD_FOLDER     (the package made there by make_package.sh)
set -euo pipefail
build=$1
cd "$build"
fail() { echo "FAIL: $*"; exit 1; }
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x ostrel_*_*.deb "$root/main"
dpkg-deb -x ostrel-dbgsym_*.ddeb "$root/debug"
mapfile -t elves < <(find "$root/main" -type f -print0 | xargs -0 file -N | sed -n 's/: *ELF .*//p' | sort)
[ ${#elves[@]} -eq 3 ] || fail "expected 3 ELF files, found: ${elves[*]}"

# Each compile line of the shipped targets carries every flag dpkg-buildflags gives (less
# the optimisation, debug level and prefix map the build decides), each link line its
# linker flags.
wanted() { # variable
    DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1" \
        | tr ' ' '\n' | grep -v -E '^(-O.*|-g|-f(file|debug)-prefix-map=.*|)$'
}
commands=$(ninja -t commands ostrel Pellund ostrel-tc)
compiles=$(grep -E ' -c ' <<<"$commands")
links=$(grep -v -E ' -c |automoc|autogen|cmake_autogen' <<<"$commands" | grep -E ' -o [^ ]*(bin/[^ /]*)( |$)')
[ -n "$compiles" ] && [ -n "$links" ] || fail "no compile or link lines for the shipped targets"
for flag in $(wanted CFLAGS) $(wanted CPPFLAGS) -fstack-clash-protection -fcf-protection; do
    missing=$(grep -v -F -e " $flag " <<<"$compiles " || true)
    [ -z "$missing" ] || fail "compiled without $flag: $(head -n 1 <<<"$missing")"
done
for flag in $(wanted LDFLAGS); do
    missing=$(grep -v -F -e " $flag " <<<"$links " || true)
    [ -z "$missing" ] || fail "linked without $flag: $(head -n 1 <<<"$missing")"
done

# Every hardening-check line is "yes", but for what the binary itself cannot show:
# - a shared library is not an executable;
# - stack clash probes appear only in functions with frames past a page;
# - a file whose libc calls all have sizes no compiler can know has no checked call to show;
# - control flow marks survive linking only where the C library's start files carry them,
#   which Debian 12's do not.
crt=$(gcc -print-file-name=Scrt1.o)
crt_marked=no
readelf -n "$crt" | grep -q 'x86 feature: IBT, SHSTK' && crt_marked=yes
for elf in "${elves[@]}"; do
    report=$(hardening-check "$elf" | tail -n +2 || true)
    echo "${elf#"$root"/main}:"; echo "$report"
    while IFS= read -r line; do
        case $line in
            *': yes'*) ;;
            ' Position Independent Executable: no, regular shared library (ignored)') ;;
            ' Stack clash protection: unknown, no -fstack-clash-protection instructions found') ;;
            ' Fortify Source functions: unknown, no protectable libc functions used') ;;
            ' Fortify Source functions: no, only unprotected functions found!') ;;
            ' Control flow integrity: no, not found!')
                [ "$crt_marked" = no ] || fail "$elf: $line" ;;
            *) fail "$elf: $line" ;;
        esac
    done <<<"$report"
done

runpath() { readelf -d "$1" | sed -n 's/.*(RUNPATH) *Library runpath: \[\(.*\)\]/\1/p'; }
[ "$(runpath "$root/main/usr/lib/ostrel/ostrel")" = '$ORIGIN' ] || fail "ostrel's RUNPATH is not \$ORIGIN"
for elf in "$root/main/usr/lib/ostrel/libPellund.so" "$root/main/usr/bin/ostrel-tc"; do
    [ -z "$(runpath "$elf")" ] || fail "$elf has RUNPATH $(runpath "$elf")"
done

mapfile -t debug < <(find "$root/debug" -name '*.debug' -type f)
[ ${#debug[@]} -eq 3 ] || fail "ostrel-dbgsym holds ${#debug[@]} debug files, not 3"
for file in "${debug[@]}"; do
    [ "$(stat -c %a "$file")" = 644 ] || fail "$file has mode $(stat -c %a "$file")"
    readelf -S -W "$file" 2>/dev/null | grep -E ' \.debug_info ' | grep -q -E ' [A-Z]*C[A-Z]* ' \
        || fail "$file: .debug_info is not compressed"
done
echo "1 passed, 0 failed"
