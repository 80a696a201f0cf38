# dtu_library(NAME [DIRS dir...] [DEPS target...])
# One static library per subsystem folder, made of every .cpp in the folder (and the extra
# DIRS, such as a platform backend). A folder without sources yet is an interface target.
function(dtu_library name)
    cmake_parse_arguments(ARG "" "" "DIRS;DEPS" ${ARGN})
    set(globs ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    foreach(dir IN LISTS ARG_DIRS)
        list(APPEND globs ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
    endforeach()
    file(GLOB sources CONFIGURE_DEPENDS ${globs})
    if(sources)
        add_library(${name} STATIC ${sources})
        target_link_libraries(${name} PUBLIC ${ARG_DEPS})
        set_target_properties(${name} PROPERTIES AUTOMOC ON)
    else()
        add_library(${name} INTERFACE)
        target_link_libraries(${name} INTERFACE ${ARG_DEPS})
    endif()
endfunction()

# dtu_test(NAME [PLAIN|CORE] DEPS target...): a GoogleTest executable of every .cpp in the
# current folder, linked with the shared test main (a QApplication on the offscreen platform),
# with PLAIN a main that makes none, or with CORE one that makes a core application.
function(dtu_test name)
    cmake_parse_arguments(ARG "PLAIN;CORE" "" "DEPS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    if(NOT sources)
        return()
    endif()
    add_executable(${name} ${sources})
    if(ARG_PLAIN)
        set(main dtu_test_plain_main)
    elseif(ARG_CORE)
        set(main dtu_test_core_main)
    else()
        set(main dtu_test_main)
    endif()
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} ${main} GTest::gtest GTest::gmock)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    gtest_discover_tests(${name}
        WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;DTU_SOURCE_DIR=${CMAKE_SOURCE_DIR};DTU_BINARY_DIR=${CMAKE_BINARY_DIR}"
        DISCOVERY_TIMEOUT 60)
endfunction()
