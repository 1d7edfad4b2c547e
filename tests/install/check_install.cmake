# Installs the build into a scratch prefix and checks what a desktop needs to offer Lockwell for *.lwd
# files: the program, its menu entry, icon, MIME type and manual; and lockwell-cli with its manual page and
# bash completion.
# Run as: cmake -DBUILD_DIR=... -DPREFIX=... -P check_install.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "install failed: ${output}")
endif()

function(expect_file path)
    if(NOT EXISTS "${PREFIX}/${path}")
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endfunction()

function(expect_text path text)
    expect_file("${path}")
    file(READ "${PREFIX}/${path}" content)
    string(FIND "${content}" "${text}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "${path} does not hold '${text}'")
    endif()
endfunction()

expect_file(bin/lockwell)
expect_text(share/applications/lockwell.desktop "Exec=lockwell %f")
expect_text(share/applications/lockwell.desktop "MimeType=application/x-lockwell-data;")
expect_text(share/mime/packages/lockwell.xml "<glob pattern=\"*.lwd\"/>")
expect_file(share/icons/hicolor/scalable/apps/lockwell.svg)
expect_text(share/lockwell/TovaneKeyfold.html "<html")
expect_file(bin/lockwell-cli)
expect_text(share/man/man1/lockwell-cli.1 ".SH EXIT STATUS")
expect_text(share/bash-completion/completions/lockwell-cli "complete -F _lockwell_cli lockwell-cli")
execute_process(COMMAND bash -n "${PREFIX}/share/bash-completion/completions/lockwell-cli" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the bash completion does not parse")
endif()

# The MIME database built from the installed type maps *.lwd to it, as the desktop's own tools would.
find_program(UPDATE_MIME update-mime-database)
if(UPDATE_MIME)
    execute_process(COMMAND "${UPDATE_MIME}" "${PREFIX}/share/mime" RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "update-mime-database refused the installed type")
    endif()
    expect_text(share/mime/globs2 "application/x-lockwell-data:*.lwd")
endif()
find_program(VALIDATE_DESKTOP desktop-file-validate)
if(VALIDATE_DESKTOP)
    execute_process(COMMAND "${VALIDATE_DESKTOP}" "${PREFIX}/share/applications/lockwell.desktop"
                    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "desktop entry is not valid: ${output}")
    endif()
endif()
message(STATUS "installed and checked under ${PREFIX}")
