# Manual pages written by help2man from each program's own --help at build time, so the options they list are
# always the program's; docs/man/PROGRAM.h2m adds what --help leaves out (the longer description, files, exit
# statuses, examples). Installed gzipped with no name or time stamp inside, as Debian wants.

find_program(HELP2MAN help2man REQUIRED)
find_program(GZIP gzip REQUIRED)

# pagewing_add_man_pages(PROGRAM_TARGET ...)
function(pagewing_add_man_pages)
    set(folder ${PROJECT_BINARY_DIR}/man)
    set(pages)
    foreach(program IN LISTS ARGN)
        set(page ${folder}/${program}.1)
        set(include_file ${PROJECT_SOURCE_DIR}/docs/man/${program}.h2m)
        # The version is the project's, so a program needs no --version of its own. With no display in the
        # environment, a --help that needed one fails the build rather than a user on a server. In a sanitized
        # build the leak checker stays out: it would judge the program without the suppressions the tests give it.
        add_custom_command(
            OUTPUT ${page} ${page}.gz
            COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
            COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
                LC_ALL=C.UTF-8 ASAN_OPTIONS=detect_leaks=0
                ${HELP2MAN} --no-info --version-string=${PROJECT_VERSION} --include=${include_file}
                --output=${page} $<TARGET_FILE:${program}>
            COMMAND ${GZIP} -9 --no-name --keep --force ${page}
            DEPENDS ${program} ${include_file}
            COMMENT "Writing the manual page of ${program}"
            VERBATIM)
        list(APPEND pages ${page}.gz)
    endforeach()
    add_custom_target(pagewing_man_pages ALL DEPENDS ${pages})
    install(FILES ${pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
