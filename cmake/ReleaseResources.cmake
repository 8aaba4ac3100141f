# rcc writes each resource file's time into the program, unless SOURCE_DATE_EPOCH is set: it
# runs with the release's time, so a fresh checkout builds the same bytes.
include(${PROJECT_SOURCE_DIR}/packaging/debian/ReleaseDate.cmake)
get_target_property(rcc Qt6::rcc LOCATION)
set(rcc_wrapper ${CMAKE_BINARY_DIR}/rcc_release_date)
file(CONFIGURE OUTPUT ${rcc_wrapper} CONTENT
    "#!/bin/sh\nSOURCE_DATE_EPOCH=${OSTREL_SOURCE_DATE_EPOCH} exec '${rcc}' \"$@\"\n" @ONLY)
file(CHMOD ${rcc_wrapper} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
     GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
foreach(config "" _NONE _DEBUG _RELEASE _RELWITHDEBINFO _MINSIZEREL)
    set_property(TARGET Qt6::rcc PROPERTY IMPORTED_LOCATION${config} ${rcc_wrapper})
endforeach()
