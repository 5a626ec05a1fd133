# Small Windows programs in C, cross-compiled with Debian's MinGW-w64 for 32 or 64 bits: the Wine
# helpers of the platform layer and the tests' stand-in for 1C:Enterprise.
find_program(TARVESK_MINGW_GCC32 i686-w64-mingw32-gcc)
find_program(TARVESK_MINGW_GCC64 x86_64-w64-mingw32-gcc)
if(NOT TARVESK_MINGW_GCC32 OR NOT TARVESK_MINGW_GCC64)
    message(FATAL_ERROR "Windows helpers need the MinGW-w64 cross compilers "
                        "(Debian: gcc-mingw-w64-i686 gcc-mingw-w64-x86-64; scripts/setup.sh installs them).")
endif()

# tarvesk_windows_program(<output file> BITS 32|64 SOURCES ... [HEADERS ...] [FLAGS ...] [LIBS ...])
function(tarvesk_windows_program output)
    cmake_parse_arguments(ARG "" "BITS" "SOURCES;HEADERS;FLAGS;LIBS" ${ARGN})
    set(flags -std=c11 -O2 -s -Wall -Wextra -Wpedantic ${ARG_FLAGS})
    if(TARVESK_WERROR)
        list(APPEND flags -Werror)
    endif()
    get_filename_component(name ${output} NAME)
    add_custom_command(OUTPUT ${output}
        COMMAND ${TARVESK_MINGW_GCC${ARG_BITS}} ${flags} -o ${output} ${ARG_SOURCES} ${ARG_LIBS}
        DEPENDS ${ARG_SOURCES} ${ARG_HEADERS}
        COMMENT "Building the Windows program ${name}"
        VERBATIM)
endfunction()
