# The module names of the procedure trace, checked against the naming rule of docs/ARCHITECTURE.md.
#
# Every module name a file under src/ passes to BW_TRACE or bwHandler, or keeps in kModule, must be the
# file's own name, the file name of the form the file belongs to (frmMain.frm for frmMain.cpp and
# frmMain_*.cpp), or a given module that the table under "## Names" places in that file.
#
# Usage: cmake -DSOURCE_DIR=<repository> -P check_trace_modules.cmake
cmake_minimum_required(VERSION 3.25)

file(READ "${SOURCE_DIR}/docs/ARCHITECTURE.md" doc)
if(NOT doc MATCHES "\n## Names\n(.*)")
    message(FATAL_ERROR "docs/ARCHITECTURE.md has no section \"## Names\"")
endif()
string(REGEX MATCHALL "\n\\| `[A-Za-z0-9_]+\\.bas` \\|[^\n]*" rows "${CMAKE_MATCH_1}")
foreach(row IN LISTS rows)
    string(REGEX MATCH "`([A-Za-z0-9_]+\\.bas)`" _ "${row}")
    set(module "${CMAKE_MATCH_1}")
    string(REGEX REPLACE "^[^|]*\\|[^|]*\\|" "" places "${row}")
    string(REGEX MATCHALL "`[A-Za-z0-9_]+\\.(cpp|h)`" files "${places}")
    foreach(file IN LISTS files)
        string(REPLACE "`" "" file "${file}")
        list(APPEND given_${file} "${module}")
    endforeach()
endforeach()
if(NOT rows)
    message(FATAL_ERROR "docs/ARCHITECTURE.md names no given module under \"## Names\"")
endif()

set(problems "")
file(GLOB_RECURSE sources "${SOURCE_DIR}/src/*.h" "${SOURCE_DIR}/src/*.cpp")
foreach(source IN LISTS sources)
    get_filename_component(name "${source}" NAME)
    set(allowed "${name}" ${given_${name}})
    if(name MATCHES "^(frm[A-Za-z]+)(_[a-z]+)?\\.(cpp|h)$")
        list(APPEND allowed "${CMAKE_MATCH_1}.frm")
    endif()
    file(READ "${source}" text)
    string(REGEX MATCHALL "kModule[^=;\n]*= *\"[^\"]+\"|BW_TRACE\\(\"[^\"]+\"|bwHandler\\(\"[^\"]+\"" uses "${text}")
    foreach(use IN LISTS uses)
        string(REGEX REPLACE "^[^\"]*\"([^\"]+)\"$" "\\1" module "${use}")
        if(NOT module IN_LIST allowed)
            file(RELATIVE_PATH path "${SOURCE_DIR}" "${source}")
            list(JOIN allowed ", " names)
            list(APPEND problems "${path} traces module \"${module}\" (it may use ${names})")
        endif()
    endforeach()
endforeach()

if(problems)
    list(REMOVE_DUPLICATES problems)
    list(JOIN problems "\n  " text)
    message(FATAL_ERROR "Trace module names that break the naming rule of docs/ARCHITECTURE.md:\n  ${text}")
endif()
message(STATUS "every trace module name follows the naming rule")
