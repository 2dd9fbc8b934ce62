# SPDX-FileCopyrightText: 2026 Kestrune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Keeps the program's symbols as FOLDER/.build-id/xx/yyyy.debug, named by its build-id, which the
# stripped program in the package still carries.
# Usage: cmake -DOBJCOPY=... -DREADELF=... -DPROGRAM=... -DFOLDER=... -P keep_debug_symbols.cmake
execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C ${READELF} -n ${PROGRAM}
    OUTPUT_VARIABLE notes COMMAND_ERROR_IS_FATAL ANY)
if(NOT notes MATCHES "Build ID: ([0-9a-f][0-9a-f])([0-9a-f]+)")
    message(FATAL_ERROR "${PROGRAM} has no build-id")
endif()
set(file ${FOLDER}/.build-id/${CMAKE_MATCH_1}/${CMAKE_MATCH_2}.debug)
get_filename_component(folder ${file} DIRECTORY)
file(MAKE_DIRECTORY ${folder})
execute_process(COMMAND ${OBJCOPY} --only-keep-debug ${PROGRAM} ${file} COMMAND_ERROR_IS_FATAL ANY)
