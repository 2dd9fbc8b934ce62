# SPDX-FileCopyrightText: 2026 Kestrune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs in CPack before the package is made: drops the compilers' version notes (.comment) from
# the program, as Debian's own stripping does; the debug symbols are split off afterwards.
file(GLOB_RECURSE programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/bin/*")
foreach(program IN LISTS programs)
    execute_process(COMMAND "${CPACK_OBJCOPY_EXECUTABLE_FOR_SCRIPT}" --remove-section=.comment
                            "${program}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
