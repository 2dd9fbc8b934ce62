# SPDX-FileCopyrightText: 2026 Kestrune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Debian's hardening flags, as dpkg-buildflags gives them to every package it builds: fortified
# libc calls, stack protector, format checks, read-only relocations with immediate binding. PIE
# is the compiler's own default on Debian. Only for optimised builds (fortify needs optimisation)
# and not with the sanitizers, which bring their own instrumentation. To those, the two that
# newer dpkg releases add and hardening-check asks for: control-flow protection (Intel CET's
# branch tracking and shadow stack) and stack-clash protection, each where the compiler has it.
if(KESTRUNE_SANITIZE OR NOT CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$")
    return()
endif()
find_program(KESTRUNE_DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT KESTRUNE_DPKG_BUILDFLAGS)
    message(STATUS "dpkg-buildflags not found: building without Debian's hardening flags")
    return()
endif()
foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                ${KESTRUNE_DPKG_BUILDFLAGS} --get ${kind}
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    if(kind STREQUAL "LDFLAGS")
        add_link_options(${flags})
    else()
        add_compile_options(${flags})
    endif()
endforeach()
include(CheckCXXCompilerFlag)
foreach(flag -fcf-protection -fstack-clash-protection)
    string(MAKE_C_IDENTIFIER "KESTRUNE_CXX_HAS${flag}" supported)
    check_cxx_compiler_flag(${flag} ${supported})
    if(${supported})
        add_compile_options(${flag})
    endif()
endforeach()
# The linker marks a program as fit for Intel CET only when every object it links is marked, and
# Debian 12's C library start files (Scrt1.o, crti.o, crtn.o) are not, so -fcf-protection alone
# leaves the program unmarked. -z ibt -z shstk mark it all the same: everything compiled here
# and the compiler's own start files carry the landing pads and keep to the shadow stack. The C
# library's _init and _fini lack a landing pad; no Linux release enforces branch tracking in
# user space, and Debian 12's C library and Qt are unmarked themselves, so CET stays off for the
# process there whatever the program says.
if(KESTRUNE_CXX_HAS_fcf_protection)
    include(CheckLinkerFlag)
    check_linker_flag(CXX "LINKER:-z,ibt,-z,shstk" KESTRUNE_LINKER_HAS_CET_MARKS)
    if(KESTRUNE_LINKER_HAS_CET_MARKS)
        add_link_options(LINKER:-z,ibt,-z,shstk)
    endif()
endif()
