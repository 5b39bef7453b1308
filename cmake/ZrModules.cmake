# SPDX-License-Identifier: MIT
# Each subsystem folder is one static library made of every source file in it;
# a folder holds a module's headers and sources side by side. Every module gets
# the one include root, src/, so headers are included as "<folder>/<file>.h";
# scripts/check_layers checks that a folder includes only itself and the
# folders below it in the table of docs/ARCHITECTURE.md.

# zr_add_module(<name> [DEPS <targets>...] [PRIVATE_DEPS <targets>...]
#               [NOT_ON_WINDOWS <files>...])
# Builds library zr_<name> from the .h/.cpp files of the current folder. DEPS
# are what the module's headers need, and pass on to whoever uses the module;
# PRIVATE_DEPS are needed by its sources alone. A Windows build also takes the
# files of the folder's windows/ subfolder and leaves out the NOT_ON_WINDOWS
# files of the folder, which the windows/ files replace.
function(zr_add_module name)
  cmake_parse_arguments(ARG "" "" "DEPS;PRIVATE_DEPS;NOT_ON_WINDOWS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  file(GLOB headers CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
  if(WIN32)
    foreach(file IN LISTS ARG_NOT_ON_WINDOWS)
      list(REMOVE_ITEM sources "${CMAKE_CURRENT_SOURCE_DIR}/${file}")
      list(REMOVE_ITEM headers "${CMAKE_CURRENT_SOURCE_DIR}/${file}")
    endforeach()
    file(GLOB windows_files CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/windows/*.cpp"
         "${CMAKE_CURRENT_SOURCE_DIR}/windows/*.h")
    list(APPEND sources ${windows_files})
  endif()
  add_library(zr_${name} STATIC ${sources} ${headers})
  target_include_directories(zr_${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
  target_link_libraries(zr_${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
endfunction()

# zr_add_test_suite(<name> [QT] [DEPS <targets>...] [NOT_ON_WINDOWS <files>...])
# Builds test program <name>_tests from the .cpp files of the current folder (but the
# NOT_ON_WINDOWS ones in a Windows build: they test what only Linux has) and
# registers every test case with CTest, labelled "unit", or "gui" for QT suites,
# which get a main that creates a QApplication on the offscreen platform. A case
# that runs for a minute has hung. Each case takes one "cpu" slot of the resources
# in tests/ctest_resources.json, so that they keep to the cores while the desktop
# tests, which mostly wait, run beside them. A cross build registers each program as
# one test instead.
function(zr_add_test_suite name)
  cmake_parse_arguments(ARG "QT" "" "DEPS;NOT_ON_WINDOWS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  file(GLOB headers CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
  if(WIN32)
    foreach(file IN LISTS ARG_NOT_ON_WINDOWS)
      list(REMOVE_ITEM sources "${CMAKE_CURRENT_SOURCE_DIR}/${file}")
    endforeach()
  endif()
  if(NOT sources)
    return()
  endif()
  add_executable(${name}_tests ${sources} ${headers})
  target_include_directories(${name}_tests PRIVATE "${PROJECT_SOURCE_DIR}/tests")
  if(TARGET zr_version_resource)
    target_link_libraries(${name}_tests PRIVATE zr_version_resource)
  endif()
  if(ARG_QT)
    target_link_libraries(${name}_tests PRIVATE zr_test_support_qt ${ARG_DEPS})
    set(label gui)
  else()
    target_link_libraries(${name}_tests PRIVATE GTest::gtest_main GTest::gmock ${ARG_DEPS})
    set(label unit)
  endif()
  if(CMAKE_CROSSCOMPILING)
    # Under the emulator (Wine) every start costs seconds: the program runs as one
    # test, all its cases in one process, and is not asked for its list of cases.
    add_test(NAME ${name}_tests COMMAND ${name}_tests)
    set_tests_properties(${name}_tests PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
                                                  TIMEOUT 900 LABELS ${label})
    return()
  endif()
  gtest_discover_tests(${name}_tests
    NO_PRETTY_VALUES
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
               TIMEOUT 60
               LABELS ${label}
               RESOURCE_GROUPS cpu:1)
endfunction()

# zr_add_desktop_test(<name> <script> [ARGS <arguments>...] [TIMEOUT <seconds>]
#                     [RESOURCE_LOCK <resources>...])
# Registers the bash script as test <name>, labelled "desktop": it skips (exit 77)
# where a tool is missing and is ended after TIMEOUT seconds (180 unless given). It
# takes one "desktop" slot of tests/ctest_resources.json and no "cpu" slot, so that
# desktop tests run side by side and beside the unit tests; each starts its own X
# server, bus and folders. Two tests that must not overlap name the same
# RESOURCE_LOCK. They are started first, being the longest.
function(zr_add_desktop_test name script)
  cmake_parse_arguments(ARG "" "TIMEOUT" "ARGS;RESOURCE_LOCK" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 180)
  endif()
  add_test(NAME ${name} COMMAND bash "${script}" ${ARG_ARGS})
  set_tests_properties(${name} PROPERTIES LABELS desktop SKIP_RETURN_CODE 77
                                          TIMEOUT ${ARG_TIMEOUT} RESOURCE_GROUPS desktop:1
                                          COST 1000)
  if(ARG_RESOURCE_LOCK)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK "${ARG_RESOURCE_LOCK}")
  endif()
endfunction()
