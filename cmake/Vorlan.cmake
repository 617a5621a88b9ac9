# Build helpers shared by every module of the tree.

if(WIN32)
    add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601 NOMINMAX
                            WIN32_LEAN_AND_MEAN _CRT_SECURE_NO_WARNINGS)
    add_compile_options(-Wall -Wextra -Wno-unknown-pragmas -Wno-cast-function-type
                        $<$<COMPILE_LANGUAGE:CXX>:-Wno-missing-field-initializers>)
    # Modules carry their own runtime, so nothing needs MinGW DLLs beside it.
    add_link_options(-static -static-libgcc -static-libstdc++)

    set(VORLAN_WINE_PREFIX "${CMAKE_BINARY_DIR}/wineprefix")
    set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_SOURCE_DIR}/tools/wine-run;${VORLAN_WINE_PREFIX}")
    set(VORLAN_IDL_INCLUDE /usr/include/wine/wine/windows)
    set(VORLAN_STDOLE_DIR /usr/lib/x86_64-linux-gnu/wine/x86_64-windows)

    # GoogleTest from Debian's sources, built with the cross compiler.
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
else()
    add_compile_options(-Wall -Wextra -fsanitize=address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
    find_package(GTest REQUIRED)
endif()

# vorlan_com_server(<target> IDL <file.idl> SOURCES ... [LIBS ...] [DEF <file.def>])
# An in-process COM server: its sources, the type library compiled from its
# IDL and embedded as resource TYPELIB 1, the four standard exports (by a
# .def file of the server's own when it exports more) and the scaffolding
# library. The library and class identifiers go into
# <target>_ids, a static library that clients link with the generated header.
function(vorlan_com_server target)
    cmake_parse_arguments(ARG "" "IDL;DEF" "SOURCES;LIBS" ${ARGN})
    if(NOT ARG_DEF)
        set(ARG_DEF ${CMAKE_SOURCE_DIR}/platform/com/ComServer.def)
    endif()
    get_filename_component(stem ${ARG_IDL} NAME_WE)
    get_filename_component(idl_abs ${ARG_IDL} ABSOLUTE)
    set(out ${CMAKE_CURRENT_BINARY_DIR})
    add_custom_command(
        OUTPUT ${out}/${stem}.h ${out}/${stem}_i.c ${out}/${stem}.tlb
        COMMAND ${VORLAN_WIDL} --win64 -I${CMAKE_SOURCE_DIR}/common/idl -I${VORLAN_IDL_INCLUDE}
                -L${VORLAN_STDOLE_DIR}
                -h -H ${out}/${stem}.h -u -U ${out}/${stem}_i.c -t -T ${out}/${stem}.tlb
                ${idl_abs}
        DEPENDS ${idl_abs} ${CMAKE_SOURCE_DIR}/common/idl/infonode.idl
                ${CMAKE_SOURCE_DIR}/common/idl/vorlan.idl
        COMMENT "IDL ${stem}.idl"
        VERBATIM)
    add_library(${target}_ids STATIC ${out}/${stem}_i.c ${out}/${stem}.h)
    target_include_directories(${target}_ids PUBLIC ${out})
    target_link_libraries(${target}_ids PUBLIC vorlan_interfaces)

    set(rc ${out}/${target}_typelib.rc)
    file(WRITE ${rc} "1 TYPELIB \"${out}/${stem}.tlb\"\n")
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${out}/${stem}.tlb)
    add_library(${target} SHARED ${ARG_SOURCES} ${rc}
                ${CMAKE_SOURCE_DIR}/platform/com/ServerExports.cpp ${ARG_DEF})
    set_target_properties(${target} PROPERTIES PREFIX "")
    target_link_libraries(${target} PRIVATE ${target}_ids vorlan_com ${ARG_LIBS})
endfunction()

# vorlan_test(<name> SOURCES ... [LIBS ...] [FIXTURES ...])
# A GoogleTest program run by ctest (under Wine in the Windows build).
function(vorlan_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;FIXTURES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gmock)
    if(WIN32)
        target_sources(${name} PRIVATE ${CMAKE_SOURCE_DIR}/platform/manifest/utf8.rc)
        target_link_libraries(${name} PRIVATE ole32 oleaut32 uuid)
    endif()
    add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
    set_tests_properties(${name} PROPERTIES TIMEOUT 300)
    if(ARG_FIXTURES)
        set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED "${ARG_FIXTURES}")
    endif()
    # Looked at once the directory has said everything about the test (a
    # deferred call's arguments are expanded when it runs, hence EVAL).
    cmake_language(EVAL CODE "cmake_language(DEFER CALL vorlan_device_test_over_tcp [[${name}]])")
endfunction()

# True in out when target links lib, directly or through static libraries.
function(vorlan_links target lib out)
    set(found FALSE)
    set(pending ${target})
    set(seen)
    while(pending AND NOT found)
        list(POP_FRONT pending current)
        if(NOT TARGET ${current} OR current IN_LIST seen)
            continue()
        endif()
        list(APPEND seen ${current})
        get_target_property(type ${current} TYPE)
        set(links)
        if(NOT type STREQUAL "INTERFACE_LIBRARY")
            get_target_property(links ${current} LINK_LIBRARIES)
        endif()
        get_target_property(interface ${current} INTERFACE_LINK_LIBRARIES)
        foreach(l IN LISTS links interface)
            if(l STREQUAL lib)
                set(found TRUE)
            elseif(l AND NOT l MATCHES "NOTFOUND$")
                list(APPEND pending ${l})
            endif()
        endforeach()
    endwhile()
    set(${out} ${found} PARENT_SCOPE)
endfunction()

# A test program that starts device emulators runs twice: as registered,
# where the device connection takes shared memory, and as <name>_tcp with
# VORLAN_DEVICE_TRANSPORT=tcp, where it keeps its loopback socket, after the
# first run has ended (both may use the same desktop keys and files).
# Labels "shm" and "tcp" pick one of the two runs. A program that sets its
# target property VORLAN_TRANSPORTS_CHOSEN picks its transports itself.
function(vorlan_device_test_over_tcp name)
    vorlan_links(${name} vorlan_device_testing device)
    get_target_property(chosen ${name} VORLAN_TRANSPORTS_CHOSEN)
    if(NOT device OR chosen)
        return()
    endif()
    add_test(NAME ${name}_tcp COMMAND ${name} --gtest_color=no)
    set_tests_properties(${name}_tcp PROPERTIES LABELS "device;tcp" ENVIRONMENT VORLAN_DEVICE_TRANSPORT=tcp
                         DEPENDS ${name})
    foreach(property TIMEOUT FIXTURES_REQUIRED RESOURCE_LOCK)
        get_test_property(${name} ${property} value)
        if(value)
            set_tests_properties(${name}_tcp PROPERTIES ${property} "${value}")
        endif()
    endforeach()
    set_tests_properties(${name} PROPERTIES LABELS "device;shm")
endfunction()

# vorlan_windows_path(<var> <unix path>)
# The path as Windows programs under Wine see it (the Unix root is drive Z:).
function(vorlan_windows_path var path)
    string(REPLACE "/" "\\" win "${path}")
    set(${var} "Z:${win}" PARENT_SCOPE)
endfunction()

# vorlan_register_server(<target>)
# Registers a COM server into the test prefix before the tests that need it
# (fixture "<target>_registered") and unregisters it after them.
function(vorlan_register_server target)
    add_test(NAME register_${target}
             COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-run ${VORLAN_WINE_PREFIX}
                     regsvr32 /s $<TARGET_FILE:${target}>)
    add_test(NAME unregister_${target}
             COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-run ${VORLAN_WINE_PREFIX}
                     regsvr32 /s /u $<TARGET_FILE:${target}>)
    set_tests_properties(register_${target} PROPERTIES FIXTURES_SETUP ${target}_registered)
    set_tests_properties(unregister_${target} PROPERTIES FIXTURES_CLEANUP ${target}_registered)
endfunction()

# vorlan_screenshot_test(<name> DIR <subfolder> [REGISTER dll...] COMMAND program [args...])
# Runs a GUI test program on a virtual screen (tools/gui-screenshots) and
# keeps its pictures in build/screenshots/<subfolder> for a person to look
# at. Such runs share one x11 prefix and end its wineserver, so they take
# turns.
function(vorlan_screenshot_test name)
    cmake_parse_arguments(ARG "" "DIR" "REGISTER;COMMAND" ${ARGN})
    set(registers)
    foreach(dll IN LISTS ARG_REGISTER)
        list(APPEND registers --register ${dll})
    endforeach()
    add_test(NAME ${name}
             COMMAND ${CMAKE_SOURCE_DIR}/tools/gui-screenshots ${CMAKE_BINARY_DIR}
                     ${CMAKE_BINARY_DIR}/screenshots/${ARG_DIR} ${registers} -- ${ARG_COMMAND})
    set_tests_properties(${name} PROPERTIES TIMEOUT 300 RESOURCE_LOCK wineprefix_x11)
endfunction()
