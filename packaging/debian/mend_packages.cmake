# Run by cpack after it made the packages, to mend what CPack's Debian generator gets wrong:
# - it adds scripts that only call ldconfig for any library under /usr/lib, even in a private
#   folder the loader never searches; such a script is removed, any other script is kept;
# - the debug symbol package's md5sums lists build-folder paths, and the package lacks the
#   copyright and changelog, which it shares with the main package through a doc link;
# - its debug files are executable and uncompressed, where Debian ships them 0644 with
#   compressed sections, and the stripped binaries keep the compiler's .comment section;
# - file times are those of the build: every member gets the release's time, and the packages
#   are rebuilt with one compressor thread, so the same source gives the same bytes.
function(drop_ldconfig_scripts tree)
    foreach(script postinst postrm)
        set(path ${tree}/DEBIAN/${script})
        if(EXISTS ${path})
            file(STRINGS ${path} lines)
            list(FILTER lines EXCLUDE REGEX "^#!/bin/sh$|^set -e$|^ *$|ldconfig|^ *(if|fi)( |$)")
            if(lines STREQUAL "")
                file(REMOVE ${path})
            endif()
        endif()
    endforeach()
endfunction()

# dpkg counts a file's size in whole KiB, and one for every other entry.
function(update_installed_size tree)
    file(GLOB_RECURSE entries LIST_DIRECTORIES true RELATIVE ${tree} ${tree}/*)
    list(FILTER entries EXCLUDE REGEX "^DEBIAN(/|$)")
    set(kib 0)
    foreach(entry IN LISTS entries)
        if(IS_SYMLINK ${tree}/${entry} OR IS_DIRECTORY ${tree}/${entry})
            math(EXPR kib "${kib} + 1")
        else()
            file(SIZE ${tree}/${entry} bytes)
            math(EXPR kib "${kib} + (${bytes} + 1023) / 1024")
        endif()
    endforeach()
    file(READ ${tree}/DEBIAN/control control)
    string(REGEX REPLACE "Installed-Size: [0-9]+" "Installed-Size: ${kib}" control "${control}")
    file(WRITE ${tree}/DEBIAN/control "${control}")
endfunction()

function(write_md5sums tree)
    execute_process(COMMAND sh -c "find usr -type f | LC_ALL=C sort | xargs md5sum > DEBIAN/md5sums"
                    WORKING_DIRECTORY ${tree} COMMAND_ERROR_IS_FATAL ANY)
endfunction()

function(strip_comments tree)
    file(GLOB_RECURSE files ${tree}/usr/*)
    foreach(path IN LISTS files)
        file(READ ${path} magic LIMIT 4 HEX)
        if(magic STREQUAL "7f454c46" AND NOT IS_SYMLINK ${path})
            execute_process(COMMAND objcopy --remove-section=.comment ${path} COMMAND_ERROR_IS_FATAL ANY)
        endif()
    endforeach()
    write_md5sums(${tree})
endfunction()

function(mend_debug_package tree)
    file(GLOB_RECURSE debug_files ${tree}/usr/lib/debug/*.debug)
    foreach(debug IN LISTS debug_files)
        execute_process(COMMAND objcopy --compress-debug-sections ${debug} COMMAND_ERROR_IS_FATAL ANY)
        file(CHMOD ${debug} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    endforeach()
    file(MAKE_DIRECTORY ${tree}/usr/share/doc)
    file(CREATE_LINK ${CPACK_PACKAGE_NAME} ${tree}/usr/share/doc/${CPACK_PACKAGE_NAME}-dbgsym SYMBOLIC)
    write_md5sums(${tree})
    update_installed_size(${tree})
endfunction()

foreach(deb IN LISTS CPACK_PACKAGE_FILES)
    if(NOT deb MATCHES "\\.d?deb$")
        continue()
    endif()
    set(tree ${deb}.tree)
    file(REMOVE_RECURSE ${tree})
    execute_process(COMMAND dpkg-deb -R ${deb} ${tree} COMMAND_ERROR_IS_FATAL ANY)
    drop_ldconfig_scripts(${tree})
    if(deb MATCHES "\\.ddeb$")
        mend_debug_package(${tree})
    else()
        strip_comments(${tree})
    endif()
    execute_process(COMMAND find ${tree} -exec touch -h -d @${CPACK_OSTREL_SOURCE_DATE_EPOCH} {} +
                    COMMAND_ERROR_IS_FATAL ANY)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${CPACK_OSTREL_SOURCE_DATE_EPOCH}
                            dpkg-deb --root-owner-group --threads-max=1 -b ${tree} ${deb}
                    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE_RECURSE ${tree})
endforeach()
