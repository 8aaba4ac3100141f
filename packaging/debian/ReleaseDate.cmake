# The release's time, from the changelog's last entry unless the builder gives
# SOURCE_DATE_EPOCH: the manual pages' date and the package's file times, so that a later
# build of the same source gives the same bytes.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(OSTREL_SOURCE_DATE_EPOCH $ENV{SOURCE_DATE_EPOCH})
else()
    file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/changelog trailer REGEX "^ -- " LIMIT_COUNT 1)
    string(REGEX REPLACE "^ -- .*>  " "" date "${trailer}")
    execute_process(COMMAND date -u -d "${date}" +%s OUTPUT_VARIABLE OSTREL_SOURCE_DATE_EPOCH
                    OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/changelog)
