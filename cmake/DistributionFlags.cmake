# Debian's hardening flags for optimised builds, taken from dpkg-buildflags where it exists,
# so a plain Release build is hardened as the package is. Debug builds (the sanitizer build
# among them) get none: _FORTIFY_SOURCE warns without optimisation.
add_library(ostrel_distribution_flags INTERFACE)

# Binaries and debug information name the source and build folders relatively, so the same
# source builds the same bytes wherever it lies. The build folder's map comes last: it wins
# where the build folder lies inside the source folder.
target_compile_options(ostrel_distribution_flags INTERFACE
    -ffile-prefix-map=${PROJECT_SOURCE_DIR}=. -ffile-prefix-map=${PROJECT_BINARY_DIR}=./build)

# WebAssembly has no ELF hardening to ask for: the browser checks every memory access.
if(EMSCRIPTEN)
    return()
endif()

if(WIN32)
    # dpkg-buildflags knows ELF only. A PE file is relocatable anywhere in a 64-bit space,
    # runs no data, and carries no build time in its header.
    target_link_options(ostrel_distribution_flags INTERFACE
        -Wl,--dynamicbase,--high-entropy-va,--nxcompat,--no-insert-timestamp)
    # Stack canaries and MinGW-w64's checked string and memory calls. Both call into libssp,
    # linked in whole so that no libssp-0.dll has to travel with the program.
    target_compile_options(ostrel_distribution_flags INTERFACE -fstack-protector-strong
        "$<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-D_FORTIFY_SOURCE=2>")
    target_link_libraries(ostrel_distribution_flags INTERFACE -l:libssp.a)
    return()
endif()

option(OSTREL_DISTRIBUTION_FLAGS "Use dpkg-buildflags' hardening flags in optimised builds" ON)
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT OSTREL_DISTRIBUTION_FLAGS OR NOT DPKG_BUILDFLAGS OR OSTREL_SANITIZE)
    return()
endif()

# The flags one variable of dpkg-buildflags gives, without the optimisation and debug levels
# the build type decides, and without its prefix map, which names the folder cmake ran in.
function(ostrel_dpkg_flags variable out)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                            ${DPKG_BUILDFLAGS} --get ${variable}
                    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    list(FILTER flags EXCLUDE REGEX "^-O|^-g$|^-f(file|debug|macro)-prefix-map=")
    set(${out} ${flags} PARENT_SCOPE)
endfunction()

ostrel_dpkg_flags(CFLAGS c_flags)
ostrel_dpkg_flags(CXXFLAGS cxx_flags)
ostrel_dpkg_flags(CPPFLAGS cpp_flags)
ostrel_dpkg_flags(LDFLAGS ld_flags)

# Debian 12's dpkg predates stack clash and control flow protection; later ones add them.
include(CheckCCompilerFlag)
foreach(flag -fstack-clash-protection -fcf-protection)
    string(MAKE_C_IDENTIFIER "OSTREL_HAS${flag}" known)
    check_c_compiler_flag(${flag} ${known})
    if(${known})
        foreach(list c_flags cxx_flags)
            if(NOT flag IN_LIST ${list})
                list(APPEND ${list} ${flag})
            endif()
        endforeach()
    endif()
endforeach()

set(optimised "$<CONFIG:Release,RelWithDebInfo,MinSizeRel>")
target_compile_options(ostrel_distribution_flags INTERFACE
    "$<${optimised}:$<$<COMPILE_LANGUAGE:C>:${c_flags}>>"
    "$<${optimised}:$<$<COMPILE_LANGUAGE:CXX>:${cxx_flags}>>"
    "$<${optimised}:${cpp_flags}>")
target_link_options(ostrel_distribution_flags INTERFACE "$<${optimised}:${ld_flags}>")
