# Makes one compressed manual page from its scdoc source:
#   cmake -DSCDOC=... -DSOURCE=page.scd -DPAGE=page -DVERSION=x.y.z -DEPOCH=seconds -P make_page.cmake
# The footer names the version; the date is the release's, from SOURCE_DATE_EPOCH, so the
# page is the same whenever it is built.
file(READ ${SOURCE} text)
string(CONFIGURE "${text}" text @ONLY)
file(WRITE ${PAGE}.scd "${text}")
execute_process(COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${EPOCH} ${SCDOC}
                INPUT_FILE ${PAGE}.scd OUTPUT_VARIABLE roff COMMAND_ERROR_IS_FATAL ANY)
# man runs tbl only for pages that ask for it on their first line.
if(roff MATCHES "\n\\.TS")
    string(PREPEND roff "'\\\" t\n")
endif()
file(WRITE ${PAGE} "${roff}")
execute_process(COMMAND gzip -9nf ${PAGE} COMMAND_ERROR_IS_FATAL ANY)
