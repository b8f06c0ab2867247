# Shared compile settings, the version header and the one-line declaration of a test executable.

# The version and the application id are spelled once, in CMakeLists.txt; code reads them from this header.
configure_file(${CMAKE_CURRENT_LIST_DIR}/ProductFacts.h.in ${PROJECT_BINARY_DIR}/generated/ProductFacts.h @ONLY)
# The help page names the product and its version the same way.
set(PAGEWING_HELP_PAGE ${PROJECT_BINARY_DIR}/generated/LumenfoldPagewing.html)
configure_file(${PROJECT_SOURCE_DIR}/docs/help/LumenfoldPagewing.html.in ${PAGEWING_HELP_PAGE} @ONLY)
add_library(pagewing_version INTERFACE)
target_include_directories(pagewing_version INTERFACE ${PROJECT_BINARY_DIR}/generated)

function(pagewing_set_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
        -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual)
    if(PAGEWING_WARNINGS_AS_ERRORS)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

# The fakes, frames and simulator harness that tests, benchmarks and fuzz targets share; header-only.
add_library(pagewing_test_support INTERFACE)
target_include_directories(pagewing_test_support INTERFACE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(pagewing_test_support INTERFACE pagewing_version)

# add_unit_test(NAME name SOURCES a.cpp ... LIBS lib ... [QT] [LABEL label])
# QT tests get Qt Test and run headless on the offscreen platform with a private runtime folder. The label is
# "unit" unless given: the quick tests that need nothing outside their own process (ctest --preset unit).
function(add_unit_test)
    cmake_parse_arguments(TEST "QT" "NAME;LABEL" "SOURCES;LIBS" ${ARGN})
    if(NOT TEST_LABEL)
        set(TEST_LABEL unit)
    endif()
    add_executable(${TEST_NAME} ${TEST_SOURCES})
    pagewing_set_warnings(${TEST_NAME})
    target_include_directories(${TEST_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    if(TEST_QT)
        target_link_libraries(${TEST_NAME} PRIVATE ${TEST_LIBS} Qt6::Test)
        add_test(NAME ${TEST_NAME} COMMAND ${TEST_NAME})
        set_tests_properties(${TEST_NAME} PROPERTIES LABELS ${TEST_LABEL}
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_LOGGING_RULES=qt.qpa.*=false;DBUS_SESSION_BUS_ADDRESS=")
    else()
        target_link_libraries(${TEST_NAME} PRIVATE ${TEST_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
        if(CMAKE_CROSSCOMPILING)
            # Discovery would start the emulator once more for every program at every run: one test each.
            add_test(NAME ${TEST_NAME} COMMAND ${TEST_NAME})
            set_tests_properties(${TEST_NAME} PROPERTIES LABELS ${TEST_LABEL})
        else()
            gtest_discover_tests(${TEST_NAME} DISCOVERY_MODE PRE_TEST PROPERTIES LABELS ${TEST_LABEL})
        endif()
    endif()
endfunction()
