#!/usr/bin/env bash
# Installs the built Windows Installer package under Wine as an administrator's deployment does
# (msiexec /i ... /qn), checks the program in Program Files, the uninstall entry, the Start-menu
# shortcut and the ".ppsv" registration, and starts the program through the shortcut and a setting
# file through the shell. Then builds another package of the same version and one of a higher
# version, holding a program that differs from the built one, and checks that installing each
# leaves one product, the one installed last, and that the older package then refuses to install
# over the newer. Finally removes it
# (msiexec /x ... /qn) and checks that everything installed is gone and the user's stored
# preferences stay. Exits non-zero at the first failure, saying what failed.
#
# Usage: tests/packaging/msi_test.sh <Windows build dir>   (after `cmake --build <dir> --target
# package`). Uses the build's Wine prefix and $DISPLAY, or a virtual display of its own.
set -euo pipefail
WIN_BUILD=$(cd "${1:?usage: $0 <Windows build dir>}" && pwd)
TEST_NAME='Windows Installer package test'
# shellcheck source=package_test_lib.sh
source "$(dirname "$0")/package_test_lib.sh"
package="$WIN_BUILD/Tidewell-$version.msi"
[ -f "$package" ] || fail "no package at $package (build the \"package\" target)"

# The newer build: the next minor version, and a program that differs from the built one by
# bytes after its end (which Windows ignores), so that which of the two is installed can be told.
major=${version%%.*}
minor=${version#*.}
minor=${minor%%.*}
newer_version="$major.$((minor + 1))"
test_builds="$WIN_BUILD/msi-test-builds"
newer_package="$test_builds/Tidewell-$newer_version.msi"
rm -rf "$test_builds"
mkdir -p "$test_builds"
cp "$program" "$test_builds/tidewell.exe"
printf 'Tidewell %s, a newer build for the upgrade test\n' "$newer_version" \
    >>"$test_builds/tidewell.exe"
build_package() { # version, program, package
    "$TIDEWELL_ROOT/packaging/build_msi.sh" "$1" "$2" "$TIDEWELL_ROOT/src/app/icons/tidewell.ico" \
        "$3" || fail "packaging/build_msi.sh could not build $3"
}
build_package "$newer_version" "$test_builds/tidewell.exe" "$newer_package"
# Another build of the same version, which has a product code of its own.
rebuilt_package="$test_builds/Tidewell-$version-rebuilt.msi"
build_package "$version" "$program" "$rebuilt_package"
pass "built Tidewell-$newer_version.msi and another Tidewell-$version.msi"

start_wine_for_packages
folder="$program_files\\Tidewell"
folder_unix=$(unix_path "$folder")
uninstall_root='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
installer_products='HKLM\Software\Classes\Installer\Products'

# Keys below $1 that have the value $2 = "Tidewell", one a line.
keys_naming_tidewell() {
    reg query "$1" /s 2>/dev/null | tr -d '\r' |
        awk -v name="$2" '/^HKEY/ { key = $0 } $1 == name && $2 == "REG_SZ" && $3 == "Tidewell" &&
            NF == 3 { print key }'
}
# Those of Windows Installer products, named by their product codes; the NSIS installer's entry is
# not one of them.
uninstall_entries() {
    keys_naming_tidewell "$uninstall_root" DisplayName | grep '\\{[-0-9A-F]*}$' || true
}
# Windows Installer's own record of the products it installed.
installed_products() { keys_naming_tidewell "$installer_products" ProductName; }

msiexec() { # /i or /x, the package (a Linux path)
    wine msiexec "$1" "$(unix_path_to_windows "$2")" /qn >/dev/null 2>&1
}

# Remains of an earlier run that failed half-way would hide what this run does.
cleanup() {
    local key
    for key in $(uninstall_entries | sed 's/.*\\//'); do
        wine msiexec /x "$key" /qn >/dev/null 2>&1 || true
    done
    reg delete "$preferences_key" /f >/dev/null 2>&1 || true
    rm -rf "$(unix_path "$TEST_FOLDER")"
}
cleanup
[ -z "$(uninstall_entries)" ] || fail "could not remove an earlier Tidewell: $(uninstall_entries)"

# Exactly one Tidewell in "Apps and features" and in Windows Installer's records, of version $1,
# and exactly the program $2 in the installation folder.
check_installed() {
    local expected_version=$1 expected_program=$2 entries
    entries=$(uninstall_entries)
    [ "$(printf '%s\n' "$entries" | grep -c .)" = 1 ] ||
        fail "$expected_version: not one uninstall entry but: ${entries:-none}"
    [ "$(reg_value "$entries" DisplayVersion)" = "$expected_version" ] ||
        fail "$expected_version: the uninstall entry names $(reg_value "$entries" DisplayVersion)"
    [ "$(reg_value "$entries" Publisher)" = Hollowfin ] || fail "$expected_version: no publisher"
    local products
    products=$(installed_products)
    [ "$(printf '%s\n' "$products" | grep -c .)" = 1 ] ||
        fail "$expected_version: Windows Installer records not one product but: ${products:-none}"
    [ "$(ls -A "$folder_unix" 2>/dev/null)" = tidewell.exe ] ||
        fail "$expected_version: $folder holds: $(ls -A "$folder_unix" 2>/dev/null)"
    cmp -s "$folder_unix/tidewell.exe" "$expected_program" ||
        fail "$expected_version: the installed tidewell.exe is not the one of that package"
    pass "$expected_version: one Tidewell installed, into $folder"
}

# A package for all users puts its shortcut into the common Start menu on Windows; Wine's Windows
# Installer always uses the user's Start menu instead. Either is accepted, both at once is not.
installed_shortcut() {
    local found=()
    [ -f "$common_shortcut" ] && found+=("$common_shortcut")
    [ -f "$user_shortcut" ] && found+=("$user_shortcut")
    [ ${#found[@]} = 1 ] || fail "not one Start-menu shortcut but ${#found[@]}: ${found[*]}"
    printf '%s\n' "${found[0]}"
}

start_through_shortcut() {
    local shortcut
    shortcut=$(unix_path_to_windows "$(installed_shortcut)")
    start_and_close "the Start-menu shortcut ($1)" cmd /c start "" /wait "$shortcut"
}

start=$SECONDS
msiexec /i "$package" || fail "msiexec /i Tidewell-$version.msi /qn failed"
check_installed "$version" "$program"
check_setting_files_registered "$version" HKLM HKCU "$folder"
check_event_source "$version" "$folder"
open_setting_file_through_the_shell "$version"
start_through_shortcut "$version"

first_entry=$(uninstall_entries)
msiexec /i "$rebuilt_package" || fail "msiexec /i of another Tidewell-$version.msi /qn failed"
check_installed "$version" "$program"
[ "$(uninstall_entries)" != "$first_entry" ] ||
    fail "another build of Tidewell-$version.msi left the installed one in place"
pass "another build of Tidewell-$version.msi replaced the installed one"

# Preferences as the program stores them; they belong to the user, not to the installation.
reg add "$preferences_key" /v monitorc /d 1 /f >/dev/null 2>&1 ||
    fail "could not seed the preferences"

msiexec /i "$newer_package" || fail "msiexec /i Tidewell-$newer_version.msi /qn failed"
check_installed "$newer_version" "$test_builds/tidewell.exe"
# The older product's removal must not take what the newer one shares with it.
check_setting_files_registered "$newer_version" HKLM HKCU "$folder"
check_event_source "$newer_version" "$folder"
start_through_shortcut "$newer_version"
pass "Tidewell-$newer_version.msi replaced Tidewell $version"

if msiexec /i "$package"; then
    fail "Tidewell-$version.msi installed over the newer Tidewell $newer_version"
fi
check_installed "$newer_version" "$test_builds/tidewell.exe"
pass "Tidewell-$version.msi refused to replace the newer Tidewell $newer_version"

msiexec /x "$newer_package" || fail "msiexec /x Tidewell-$newer_version.msi /qn failed"
[ ! -e "$folder_unix" ] || fail "$folder still exists after removal: $(ls -A "$folder_unix")"
[ ! -e "$common_shortcut" ] || fail "shortcut left at $common_shortcut"
[ ! -e "$user_shortcut" ] || fail "shortcut left at $user_shortcut"
[ -z "$(uninstall_entries)" ] || fail "uninstall entry left: $(uninstall_entries)"
[ -z "$(installed_products)" ] || fail "Windows Installer still records $(installed_products)"
check_setting_files_unregistered "removal"
check_event_source "removal" ""
reg_key_exists "$preferences_key" || fail "the removal took the user's stored preferences"
pass "msiexec /x removed the program, the shortcut, the registration and the entry" \
    "(preferences kept)"

cleanup
rm -rf "$test_builds"
pass "Windows Installer package test passed in $((SECONDS - start)) s"
