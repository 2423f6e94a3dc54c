# SPDX-License-Identifier: GPL-3.0-or-later
if(CMAKE_CROSSCOMPILING)
  # Debian ships GoogleTest's sources (/usr/src/googletest) but no build of
  # it for mingw: it is built here with the project's compiler.
  set(ZLM5_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources, for a cross build")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(${ZLM5_GTEST_SOURCE} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # GoogleTest 1.12 names its targets GTest::gtest ... itself.
  if(NOT TARGET GTest::gtest)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gtest_main ALIAS gtest_main)
  endif()
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

# A Windows build's tests that talk to a radio run under wine against the
# simulator and the command line of a Linux build: its tools/ folder.
if(CMAKE_CROSSCOMPILING)
  set(ZLM5_LINUX_HOST_TOOLS "" CACHE PATH "The tools/ folder of a Linux build (simulator, command line)")
endif()

# The label of every test that talks to a radio simulator or a
# pseudo-terminal (ctest -L radio): the ones to run under load to prove
# that a busy machine fails no healthy radio.
set(ZLM5_RADIO_LABEL radio)

# zlm5_add_gtest(NAME SOURCES... [LIBS ...] [LABELS ...])
# One GoogleTest executable linked against the core; its cases are
# registered with CTest one by one.
function(zlm5_add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE zlm5_core GTest::gtest GTest::gtest_main ${ARG_LIBS})
  target_compile_definitions(${name} PRIVATE
    ZLM5_BINARY_DIR="${PROJECT_BINARY_DIR}"
    ZLM5_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    ZLM5_PROJECT_VERSION="${PROJECT_VERSION}")
  if(CMAKE_CROSSCOMPILING)
    # Under wine each process costs half a second: one test per program,
    # which prints each case that fails.
    target_link_options(${name} PRIVATE ${ZLM5_STATIC_LINK})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 600 LABELS "${ARG_LABELS}")
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120 LABELS "${ARG_LABELS}")
  endif()
endfunction()

# zlm5_add_qtest(NAME [GUILESS] SOURCES... [LIBS ...] [LABELS ...])
# One QtTest executable, run on the offscreen platform in the C locale, so
# that the window shows its English texts whatever the desktop's language.
# GUILESS: a test without QGuiApplication (it takes no -platform).
function(zlm5_add_qtest name)
  cmake_parse_arguments(ARG "GUILESS" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES} ${ARG_UNPARSED_ARGUMENTS})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
  target_compile_definitions(${name} PRIVATE
    ZLM5_BINARY_DIR="${PROJECT_BINARY_DIR}"
    ZLM5_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    ZLM5_PROJECT_VERSION="${PROJECT_VERSION}")
  # wine does not pass QT_* variables on to Windows programs: the platform
  # is chosen on the command line there.
  set(platform_arguments)
  if(CMAKE_CROSSCOMPILING AND NOT ARG_GUILESS)
    set(platform_arguments -platform offscreen)
  endif()
  add_test(NAME ${name} COMMAND ${name} ${platform_arguments})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;LANGUAGE="
    TIMEOUT 300
    LABELS "${ARG_LABELS}")
endfunction()

# zlm5_add_script_test(NAME SCRIPT ARGS...)
# A bash script of tests/ that checks what the build installs or ships; it
# exits 77 (skipped) when a tool it needs is not installed.
function(zlm5_add_script_test name script)
  add_test(NAME ${name} COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/${script} ${ARGN})
  set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300)
endfunction()
