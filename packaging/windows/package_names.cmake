# SPDX-FileCopyrightText: 2026 Kestrune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Read by cpack for each generator: the setup program and the zip are named apart.
if(CPACK_GENERATOR STREQUAL "NSIS")
    set(CPACK_PACKAGE_FILE_NAME "${CPACK_KESTRUNE_FILE_NAME}-setup")
else()
    set(CPACK_PACKAGE_FILE_NAME "${CPACK_KESTRUNE_FILE_NAME}")
endif()
# The zip's file times: the release's time (unless the environment names another through
# SOURCE_DATE_EPOCH), written as DOS times of the same zone wherever the zip is made.
if("$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
    set(ENV{SOURCE_DATE_EPOCH} ${CPACK_KESTRUNE_SOURCE_DATE_EPOCH})
endif()
set(ENV{TZ} UTC)
