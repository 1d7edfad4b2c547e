# Files CMake writes for the code (the version header).
set(LW_GENERATED_DIR ${PROJECT_BINARY_DIR}/generated)

# lw_add_library(name SOURCES ... [LIBS ...])
# One static library per area of the program; headers are included as "area/Header.h".
function(lw_add_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src ${LW_GENERATED_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
endfunction()

# lw_add_qtest(name SOURCES ... [LIBS ...] [XVFB] [RUN_UNDER command ...])
# A Qt Test executable registered with CTest. Widget tests run on the offscreen platform;
# XVFB tests run against the X server that scripts/run-tests starts (DISPLAY is passed through).
# RUN_UNDER starts the test through another program (dbus-run-session -- gives it a private bus).
function(lw_add_qtest name)
    cmake_parse_arguments(ARG "XVFB" "TIMEOUT" "SOURCES;LIBS;RUN_UNDER" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
    add_test(NAME ${name} COMMAND ${ARG_RUN_UNDER} $<TARGET_FILE:${name}>)
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 300)
    endif()
    set(env "LW_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data"
            "ASAN_OPTIONS=detect_leaks=0" "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
    if(NOT ARG_XVFB)
        list(APPEND env "QT_QPA_PLATFORM=offscreen")
    endif()
    set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT} ENVIRONMENT "${env}")
endfunction()
