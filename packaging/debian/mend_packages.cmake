# Run by cpack after it made the packages, to mend two faults of CPack's Debian generator:
# - it adds scripts that only call ldconfig for any library under /usr/lib, even in a private
#   folder the loader never searches; such a script is removed, any other script is kept;
# - the debug symbol package's md5sums lists build-folder paths, and the package lacks the
#   copyright and changelog, which it shares with the main package through a doc link.
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
    if(NOT deb MATCHES "\\.d?deb$")
        continue()
    endif()
    set(tree ${deb}.tree)
    file(REMOVE_RECURSE ${tree})
    execute_process(COMMAND dpkg-deb -R ${deb} ${tree} COMMAND_ERROR_IS_FATAL ANY)
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
    if(deb MATCHES "\\.ddeb$")
        file(MAKE_DIRECTORY ${tree}/usr/share/doc)
        file(CREATE_LINK ${CPACK_PACKAGE_NAME} ${tree}/usr/share/doc/${CPACK_PACKAGE_NAME}-dbgsym SYMBOLIC)
        execute_process(COMMAND sh -c "find usr -type f | sort | xargs md5sum > DEBIAN/md5sums"
                        WORKING_DIRECTORY ${tree} COMMAND_ERROR_IS_FATAL ANY)
    endif()
    execute_process(COMMAND dpkg-deb --root-owner-group -b ${tree} ${deb}
                    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE_RECURSE ${tree})
endforeach()
