# The direction of every include under src/, checked against the layer table of docs/ARCHITECTURE.md.
#
# A file in src/<area>/ may include headers of its own area and of the areas its row of the table names in
# parentheses; files directly in src/ (Main) may include every area. Every area a row names must have its
# own row higher up, and every folder under src/ must have a row. The table is read from the document, so
# the document and the check cannot drift apart.
#
# Usage: cmake -DSOURCE_DIR=<repository> -P check_layers.cmake
cmake_minimum_required(VERSION 3.25)

file(READ "${SOURCE_DIR}/docs/ARCHITECTURE.md" doc)
if(NOT doc MATCHES "\n## Layers\n+```\n([^`]*)```")
    message(FATAL_ERROR "docs/ARCHITECTURE.md has no layer table under \"## Layers\"")
endif()
# A row may run on over indented lines: join them first.
string(REGEX REPLACE "\n[ ]+" " " table "${CMAKE_MATCH_1}")
string(REPLACE ";" "," table "${table}")
string(REPLACE "\n" ";" rows "${table}")

set(areas "")
set(problems "")
foreach(row IN LISTS rows)
    if(NOT row MATCHES "^src/([a-z]+)/ ")
        continue()
    endif()
    set(area "${CMAKE_MATCH_1}")
    if(NOT row MATCHES "\\(([^()]*)\\)[ ]*$")
        list(APPEND problems "the row of ${area}/ does not end with the areas it uses in parentheses")
    endif()
    string(REPLACE "," ";" named "${CMAKE_MATCH_1}")
    set(uses_${area} "")
    foreach(used IN LISTS named)
        string(STRIP "${used}" used)
        if(used STREQUAL "none")
            continue()
        endif()
        if(NOT used IN_LIST areas)
            list(APPEND problems "${area}/ uses ${used}/, which has no row above it")
        endif()
        list(APPEND uses_${area} "${used}")
    endforeach()
    list(APPEND areas "${area}")
endforeach()

file(GLOB folders LIST_DIRECTORIES true RELATIVE "${SOURCE_DIR}/src" "${SOURCE_DIR}/src/*")
foreach(folder IN LISTS folders)
    if(IS_DIRECTORY "${SOURCE_DIR}/src/${folder}" AND NOT folder IN_LIST areas)
        list(APPEND problems "src/${folder}/ has no row in the layer table")
    endif()
endforeach()

file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}/src" "${SOURCE_DIR}/src/*.h" "${SOURCE_DIR}/src/*.cpp")
foreach(source IN LISTS sources)
    if(source MATCHES "^([a-z]+)/")
        set(area "${CMAKE_MATCH_1}")
        set(allowed ${area} ${uses_${area}})
    else()
        set(allowed ${areas}) # Main sees every layer
    endif()
    file(STRINGS "${SOURCE_DIR}/src/${source}" includes REGEX "^[ ]*#[ ]*include[ ]+\"[a-z]+/")
    foreach(line IN LISTS includes)
        string(REGEX REPLACE "^[^\"]*\"([a-z]+)/.*$" "\\1" included "${line}")
        if(NOT included IN_LIST areas)
            list(APPEND problems "src/${source}: ${line}: ${included}/ is no area of the layer table")
        elseif(NOT included IN_LIST allowed)
            list(APPEND problems "src/${source}: ${line}: ${area}/ does not use ${included}/")
        endif()
    endforeach()
endforeach()

if(problems)
    list(JOIN problems "\n  " text)
    message(FATAL_ERROR "The includes do not follow the layer table of docs/ARCHITECTURE.md:\n  ${text}")
endif()
list(LENGTH sources count)
message(STATUS "${count} files follow the layer table")
