#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows program is one 64-bit program file with windows (no console) that needs nothing
# beside it: it imports only DLLs that every Windows has in its system folder, none of Qt, of the
# C++ runtime, of libgcc or of winpthread. It carries its icon, its version and its manifest.
# Usage: check_program_file.sh PROGRAM.exe
set -euo pipefail
program=$1
objdump=x86_64-w64-mingw32-objdump

fail() {
    echo "program file check: $*" >&2
    exit 1
}

headers=$($objdump -p "$program")
grep -q '^Magic[[:space:]]*020b' <<<"$headers" || fail "not a PE32+ (64-bit) file"
grep -Eq '^Subsystem[[:space:]]+0*2[[:space:]]' <<<"$headers" ||
    fail "not a program with windows (subsystem $(grep '^Subsystem' <<<"$headers"))"

# Address-space layout randomisation, with high entropy, and no execution of data.
characteristics=$(awk '/^DllCharacteristics/ { print $2 }' <<<"$headers")
for flag in 0x20:HIGH_ENTROPY_VA 0x40:DYNAMIC_BASE 0x100:NX_COMPAT; do
    (((0x$characteristics & ${flag%%:*}) != 0)) || fail "DllCharacteristics lacks ${flag#*:}"
done

mapfile -t dlls < <(awk '/DLL Name:/ { print $3 }' <<<"$headers" | sort -u)
[ ${#dlls[@]} -gt 0 ] || fail "no imported DLL found"
echo "imports: ${dlls[*]}"
# The DLLs of Windows itself: the ones Qt's core, gui, widgets and windows platform need (Qt 6.8
# adds Direct3D 12's, which every Windows it runs on, 10 and later, has). Qt is built in unity
# batches, so the program links a batch of Qt's sources whole where it uses one of them: mpr.dll,
# the network drives of QStorageInfo, comes along with the file system code.
system_dlls=" advapi32.dll authz.dll comdlg32.dll d3d11.dll d3d12.dll d3d9.dll dwmapi.dll
    dwrite.dll dxgi.dll gdi32.dll imm32.dll kernel32.dll mpr.dll msvcrt.dll netapi32.dll ole32.dll
    oleaut32.dll setupapi.dll shcore.dll shell32.dll shlwapi.dll user32.dll userenv.dll uxtheme.dll
    version.dll winmm.dll ws2_32.dll wtsapi32.dll api-ms-win-core-synch-l1-2-0.dll
    api-ms-win-core-winrt-l1-1-0.dll api-ms-win-core-winrt-string-l1-1-0.dll "
for dll in "${dlls[@]}"; do
    name=${dll,,}
    [[ $system_dlls == *" $name"[[:space:]]* ]] || fail "imports $dll, which Windows does not have"
done

# The resources: an icon group, the version and the manifest.
resources=$(x86_64-w64-mingw32-objdump -h "$program" | awk '$2 == ".rsrc"')
[ -n "$resources" ] || fail "no resource section"
strings -el "$program" | grep -qx 'ProductVersion' || fail "no version resource"
strings -el "$program" | grep -qx 'GPL-3.0-or-later' || fail "no license in the version resource"
echo "program file check: passed"
