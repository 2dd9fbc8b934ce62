# Read by cpack for each generator: the setup program and the zip are named apart.
if(CPACK_GENERATOR STREQUAL "NSIS")
    set(CPACK_PACKAGE_FILE_NAME "${CPACK_KESTRUNE_FILE_NAME}-setup")
else()
    set(CPACK_PACKAGE_FILE_NAME "${CPACK_KESTRUNE_FILE_NAME}")
endif()
