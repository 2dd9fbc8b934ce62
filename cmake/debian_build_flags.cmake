# Debian's hardening flags, as dpkg-buildflags gives them to every package it builds: fortified
# libc calls, stack protector, format checks, read-only relocations with immediate binding. PIE
# is the compiler's own default on Debian. Only for optimised builds (fortify needs optimisation)
# and not with the sanitizers, which bring their own instrumentation.
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
