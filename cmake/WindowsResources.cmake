# Windows only: the program's icon (.ico, made from the skin's PNGs) and its version resource,
# compiled into each Windows program by the mingw resource compiler, and the same facts for the
# installer (packaging/windows/dtuconfig.nsi includes the generated windows-facts.nsh).
enable_language(RC)

set(DTU_PUBLISHER "dtuconfig developers" CACHE STRING "Who publishes the program")
set(DTU_COPYRIGHT "2018-2026 dtuconfig developers")
set(DTU_HOMEPAGE "https://github.com/dtuconfig/dtuconfig" CACHE STRING "The project's home page")
# "1.5.0" -> "1,5,0,0": the resource's binary version has four numbers.
set(DTU_RC_VERSION "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")

set(DTU_ICO ${CMAKE_BINARY_DIR}/packaging/dtuconfig.ico)
set(dtu_icon_sizes 16 24 32 48 64 128 256)
list(TRANSFORM dtu_icon_sizes REPLACE "(.+)" "${CMAKE_SOURCE_DIR}/skin/ConifgRes/dtuconfig_\\1.png"
     OUTPUT_VARIABLE dtu_icon_pngs)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_custom_command(OUTPUT ${DTU_ICO}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/packaging/windows/make_ico.py ${DTU_ICO}
            ${dtu_icon_pngs}
    DEPENDS ${CMAKE_SOURCE_DIR}/packaging/windows/make_ico.py ${dtu_icon_pngs}
    COMMENT "Making the program's Windows icon")
add_custom_target(dtu_windows_icon DEPENDS ${DTU_ICO})

configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/windows-facts.nsh.in
               ${CMAKE_BINARY_DIR}/packaging/windows-facts.nsh @ONLY)

# Gives TARGET, built as FILENAME (dtuconfig.exe, dtuconfig.com), the icon and version resource.
function(dtu_windows_resources target filename)
    set(DTU_RC_FILENAME ${filename})
    set(rc ${CMAKE_BINARY_DIR}/packaging/${target}.rc)
    configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/dtuconfig.rc.in ${rc} @ONLY)
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${DTU_ICO})
    target_sources(${target} PRIVATE ${rc})
    add_dependencies(${target} dtu_windows_icon)
endfunction()
