# Makes one compressed manual page from its scdoc source:
#   cmake -DSCDOC=... -DSOURCE=page.scd -DPAGE=page -DVERSION=x.y.z -DEPOCH=seconds -P make_page.cmake
# With -DTEXT=file.txt it makes that file instead, the page as man shows it, for Windows, which has no
# man: UTF-8 with a byte order mark and CRLF line ends, so Notepad reads it as written.
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
if(TEXT)
    # Unhyphenated, one continuous page, no bold or underline by overstriking.
    execute_process(COMMAND groff -k -t -man -Tutf8 -rLL=78n -rcR=1 -rHY=0 -P-cbou
                    INPUT_FILE ${PAGE} OUTPUT_VARIABLE text COMMAND_ERROR_IS_FATAL ANY)
    string(REPLACE "\n" "\r\n" text "${text}")
    string(ASCII 239 187 191 bom)
    file(WRITE ${TEXT} "${bom}${text}")
    file(REMOVE ${PAGE})
    return()
endif()
execute_process(COMMAND gzip -9nf ${PAGE} COMMAND_ERROR_IS_FATAL ANY)
