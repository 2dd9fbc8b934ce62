# SPDX-FileCopyrightText: 2026 Kestrune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The release date, which the packaged files carry wherever a date or time ends up in them: the
# newest heading of CHANGELOG.md, "## VERSION — YYYY-MM-DD", which must name this version (the
# metainfo's newest release carries the same date; the install check compares them).
#
# KESTRUNE_SOURCE_DATE_EPOCH is SOURCE_DATE_EPOCH from the environment when that is set, else
# noon (UTC) of the release day, so two builds of one release give byte-identical packages
# without anything set by hand. KESTRUNE_RELEASE_DATE_RFC2822 is that release noon for the
# Debian changelog.
file(STRINGS ${PROJECT_SOURCE_DIR}/CHANGELOG.md kestrune_headings REGEX "^## " ENCODING UTF-8)
list(GET kestrune_headings 0 kestrune_newest)
if(NOT kestrune_newest MATCHES "^## ([^ ]+) — ([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])$")
    message(FATAL_ERROR "CHANGELOG.md: the newest heading '${kestrune_newest}' is not "
                        "'## VERSION — YYYY-MM-DD'")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "CHANGELOG.md: the newest release is ${CMAKE_MATCH_1}, "
                        "the project is ${PROJECT_VERSION}")
endif()
set(KESTRUNE_RELEASE_DATE ${CMAKE_MATCH_2}-${CMAKE_MATCH_3}-${CMAKE_MATCH_4})

# Days from 1970-01-01 to the release day, by the civil-calendar formula that counts years from
# March, so the leap day ends a year. A "1" in front keeps "08" from reading as octal.
math(EXPR year "1${CMAKE_MATCH_2} - 10000")
math(EXPR month "1${CMAKE_MATCH_3} - 100")
math(EXPR day "1${CMAKE_MATCH_4} - 100")
if(month LESS_EQUAL 2)
    math(EXPR year "${year} - 1")
endif()
math(EXPR era "${year} / 400")
math(EXPR year_of_era "${year} - ${era} * 400")
math(EXPR day_of_year "(153 * ((${month} + 9) % 12) + 2) / 5 + ${day} - 1")
math(EXPR day_of_era
     "${year_of_era} * 365 + ${year_of_era} / 4 - ${year_of_era} / 100 + ${day_of_year}")
math(EXPR kestrune_release_epoch "(${era} * 146097 + ${day_of_era} - 719468) * 86400 + 43200")

# string(TIMESTAMP) formats SOURCE_DATE_EPOCH when that is set, instead of the current time.
set(kestrune_environment_epoch "$ENV{SOURCE_DATE_EPOCH}")
set(ENV{SOURCE_DATE_EPOCH} ${kestrune_release_epoch})
string(TIMESTAMP KESTRUNE_RELEASE_DATE_RFC2822 "%a, %d %b %Y %H:%M:%S +0000" UTC)
string(TIMESTAMP kestrune_release_check "%Y-%m-%d" UTC)
if(NOT kestrune_release_check STREQUAL KESTRUNE_RELEASE_DATE)
    message(FATAL_ERROR "release day ${KESTRUNE_RELEASE_DATE} computed as ${kestrune_release_check}")
endif()
if(kestrune_environment_epoch STREQUAL "")
    unset(ENV{SOURCE_DATE_EPOCH})
    set(KESTRUNE_SOURCE_DATE_EPOCH ${kestrune_release_epoch})
else()
    set(ENV{SOURCE_DATE_EPOCH} ${kestrune_environment_epoch})
    set(KESTRUNE_SOURCE_DATE_EPOCH ${kestrune_environment_epoch})
endif()
