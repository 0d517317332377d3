# Windows build: the program, its in-process tests and its end-to-end tests.
enable_language(RC)
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(LUMITRAX_WIN_LIBS user32 gdi32 msimg32 comctl32 comdlg32 shell32 advapi32 version
    wininet ole32 oleaut32 oleacc uxtheme uuid psapi wtsapi32 winmm)
set(LUMITRAX_STATIC_LINK -static -static-libgcc -static-libstdc++)

# Built for size, as measured on the stripped Lumitrax.exe (scripts/benchmarks.sh):
# -Os with every function and datum in its own section, and the linker
# dropping the sections nothing uses. The flags come after the build type's
# own (-O3), so they win; the targets made before this file get them too.
set(LUMITRAX_SIZE_FLAGS -Os -ffunction-sections -fdata-sections)
add_compile_options(${LUMITRAX_SIZE_FLAGS})
add_link_options(-Wl,--gc-sections)
foreach(target lumitrax_core lumitrax_site_roots lumitrax_test_site_roots)
  target_compile_options(${target} PRIVATE ${LUMITRAX_SIZE_FLAGS})
endforeach()
# The program's function-local statics are all made and used on the GUI thread
# (WinINet's threads touch only the request's shared state, under its lock):
# without guards for threads, the runtime's thread library stays out.
set(LUMITRAX_SINGLE_THREAD_STATICS -fno-threadsafe-statics)
target_compile_options(lumitrax_core PRIVATE ${LUMITRAX_SINGLE_THREAD_STATICS})

# Everything under src/ but the core and the program entry forms the Win32 layer.
file(GLOB_RECURSE LUMITRAX_WIN_SOURCES CONFIGURE_DEPENDS
  src/framework/*.cpp src/app/*.cpp src/indicator/*.cpp src/osd/*.cpp
  src/settings/*.cpp src/web/*.cpp)
list(FILTER LUMITRAX_WIN_SOURCES EXCLUDE REGEX "src/app/main\\.cpp$")
list(FILTER LUMITRAX_WIN_SOURCES EXCLUDE REGEX "src/framework/lean_runtime\\.cpp$")
add_library(lumitrax_winapi INTERFACE)
target_compile_definitions(lumitrax_winapi INTERFACE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
  _WIN32_WINNT=0x0601 WINVER=0x0601)
target_link_libraries(lumitrax_winapi INTERFACE ${LUMITRAX_WIN_LIBS})
add_library(lumitrax_win STATIC ${LUMITRAX_WIN_SOURCES})
target_link_libraries(lumitrax_win PUBLIC lumitrax_core lumitrax_winapi)
target_compile_options(lumitrax_win PRIVATE ${LUMITRAX_WARNINGS})
target_compile_options(lumitrax_win PRIVATE ${LUMITRAX_SINGLE_THREAD_STATICS})

# Pictures are drawn by our own scripts at build time.
set(LUMITRAX_GEN ${CMAKE_BINARY_DIR}/generated)
file(GLOB LUMITRAX_DRAW_SCRIPTS CONFIGURE_DEPENDS resources/*.py)
set(LUMITRAX_PICTURES ${LUMITRAX_GEN}/lumitrax.ico ${LUMITRAX_GEN}/led_on.bmp ${LUMITRAX_GEN}/led_off.bmp)
foreach(size 20 24 32)
  list(APPEND LUMITRAX_PICTURES ${LUMITRAX_GEN}/led_on_${size}.bmp ${LUMITRAX_GEN}/led_off_${size}.bmp)
endforeach()
foreach(service facebook gplus twitter rss delicious stumbleupon)
  list(APPEND LUMITRAX_PICTURES ${LUMITRAX_GEN}/svc_${service}.bmp)
endforeach()
add_custom_command(
  OUTPUT ${LUMITRAX_PICTURES}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${LUMITRAX_GEN}
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/resources/draw_pictures.py ${LUMITRAX_GEN}
  DEPENDS ${LUMITRAX_DRAW_SCRIPTS}
  COMMENT "Drawing the application icon and glyphs")
add_custom_target(lumitrax_pictures DEPENDS ${LUMITRAX_PICTURES})

string(REPLACE "." "," LUMITRAX_VERSION_COMMAS "${PROJECT_VERSION}")
configure_file(resources/version.h.in ${LUMITRAX_GEN}/version.h @ONLY)

set(LUMITRAX_RC ${CMAKE_SOURCE_DIR}/resources/lumitrax.rc)
file(GLOB LUMITRAX_TEXT_BLOBS ${LUMITRAX_GEN}/texts_*.bin)
set_source_files_properties(${LUMITRAX_RC} PROPERTIES
  OBJECT_DEPENDS "${LUMITRAX_PICTURES};${LUMITRAX_GEN}/texts.rc;${LUMITRAX_TEXT_BLOBS};${CMAKE_SOURCE_DIR}/resources/lumitrax.manifest;${LUMITRAX_GEN}/version.h")
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${LUMITRAX_GEN} -I${CMAKE_SOURCE_DIR}/resources")

function(lumitrax_program target site_roots)
  set(rc ${LUMITRAX_RC})
  if(ARGC GREATER 2)
    set(rc ${ARGV2})
  endif()
  add_executable(${target} WIN32 src/app/main.cpp src/framework/lean_runtime.cpp ${rc})
  add_dependencies(${target} lumitrax_pictures)
  target_link_libraries(${target} PRIVATE lumitrax_win ${site_roots})
  target_link_options(${target} PRIVATE ${LUMITRAX_STATIC_LINK} -municode -s)
  target_compile_options(${target} PRIVATE ${LUMITRAX_WARNINGS} ${LUMITRAX_SINGLE_THREAD_STATICS})
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
endfunction()
lumitrax_program(Lumitrax lumitrax_site_roots)
# The same program with the local test site as its product site, for the
# end-to-end tests of the usage ping.
lumitrax_program(LumitraxTestSite lumitrax_test_site_roots)
# The program without its translations, to measure what they cost (benchmarks).
set(LUMITRAX_RC_ENGLISH_ONLY ${CMAKE_SOURCE_DIR}/resources/lumitrax_english_only.rc)
set_source_files_properties(${LUMITRAX_RC_ENGLISH_ONLY} PROPERTIES
  OBJECT_DEPENDS "${LUMITRAX_PICTURES};${CMAKE_SOURCE_DIR}/resources/lumitrax.rc;${LUMITRAX_GEN}/version.h")
lumitrax_program(LumitraxEnglishOnly lumitrax_site_roots ${LUMITRAX_RC_ENGLISH_ONLY})

# GoogleTest built from its sources (Debian's googletest package ships them in
# /usr/src/googletest), or, where there are none (MSYS2 on Windows), the
# installed GoogleTest (MSYS2's mingw-w64-x86_64-gtest).
set(LUMITRAX_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources, built with the tests")
if(EXISTS ${LUMITRAX_GOOGLETEST_SOURCE}/CMakeLists.txt)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(${LUMITRAX_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  find_package(GTest REQUIRED)
  add_library(gtest INTERFACE)
  target_link_libraries(gtest INTERFACE GTest::gtest)
  add_library(gtest_main INTERFACE)
  target_link_libraries(gtest_main INTERFACE GTest::gtest_main)
endif()

# In-process tests of the Win32 layer: real windows in a test process. The tests
# share the program's resources (icon "A", version, manifest).
file(GLOB_RECURSE LUMITRAX_WIN_TESTS CONFIGURE_DEPENDS tests/win/*.cpp)
add_executable(win_tests ${LUMITRAX_WIN_TESTS} ${LUMITRAX_RC})
add_dependencies(win_tests lumitrax_pictures)
target_link_libraries(win_tests PRIVATE lumitrax_win lumitrax_site_roots gtest ws2_32)
target_include_directories(win_tests PRIVATE tests/win)
target_link_options(win_tests PRIVATE ${LUMITRAX_STATIC_LINK})
set_target_properties(win_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_test(NAME win_tests COMMAND win_tests --gtest_brief=1
  --gtest_output=xml:test-results/win_tests.xml)
set_tests_properties(win_tests PROPERTIES TIMEOUT 600)

# End-to-end tests: the real Lumitrax.exe driven from another process.
file(GLOB_RECURSE LUMITRAX_E2E_TESTS CONFIGURE_DEPENDS tests/e2e/*.cpp)
add_executable(e2e_tests ${LUMITRAX_E2E_TESTS})
add_dependencies(e2e_tests Lumitrax LumitraxTestSite)
target_compile_definitions(e2e_tests PRIVATE LUMITRAX_TEST_SITE_PORT=${LUMITRAX_TEST_SITE_PORT})
target_link_libraries(e2e_tests PRIVATE lumitrax_core lumitrax_winapi gtest_main ws2_32 oleacc oleaut32)
target_include_directories(e2e_tests PRIVATE tests/e2e tests/win)
target_compile_options(e2e_tests PRIVATE ${LUMITRAX_WARNINGS})
target_link_options(e2e_tests PRIVATE ${LUMITRAX_STATIC_LINK})
set_target_properties(e2e_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_test(NAME e2e_tests COMMAND e2e_tests --gtest_brief=1
  --gtest_output=xml:test-results/e2e_tests.xml)
set_tests_properties(e2e_tests PROPERTIES TIMEOUT 900 RUN_SERIAL TRUE)


# A stand-in for the web browser: Wine hands the addresses it is asked to open
# to this script (set as Wine's browser by the end-to-end tests), which notes them.
file(WRITE ${CMAKE_BINARY_DIR}/record-browser.sh
  "#!/bin/sh\nprintf '%s\\n' \"$@\" >> \"$(dirname \"$0\")/browser-record.txt\"\n")
file(CHMOD ${CMAKE_BINARY_DIR}/record-browser.sh
  PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# Benchmarks: programs that print figures, run by scripts/benchmarks.sh (not tests).
add_executable(gui_objects_bench tests/bench/gui_objects.cpp ${LUMITRAX_RC})
add_dependencies(gui_objects_bench lumitrax_pictures)
target_link_libraries(gui_objects_bench PRIVATE lumitrax_win lumitrax_site_roots)
target_link_options(gui_objects_bench PRIVATE ${LUMITRAX_STATIC_LINK})
set_target_properties(gui_objects_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# The outside measurements of scripts/benchmarks.sh: the bare program that is
# their baseline, and the probe that acts on the running program.
add_executable(bare_bench WIN32 tests/bench/bare.cpp)
target_link_libraries(bare_bench PRIVATE lumitrax_winapi)
target_link_options(bare_bench PRIVATE ${LUMITRAX_STATIC_LINK} -municode -s)
add_executable(lumitrax_probe tests/bench/probe.cpp)
target_link_libraries(lumitrax_probe PRIVATE lumitrax_winapi ws2_32)
target_compile_options(lumitrax_probe PRIVATE ${LUMITRAX_WARNINGS})
target_link_options(lumitrax_probe PRIVATE ${LUMITRAX_STATIC_LINK} -municode)
set_target_properties(bare_bench lumitrax_probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_executable(about_shot tests/bench/about_shot.cpp ${LUMITRAX_RC})
add_dependencies(about_shot lumitrax_pictures)
target_link_libraries(about_shot PRIVATE lumitrax_win lumitrax_site_roots)
target_link_options(about_shot PRIVATE ${LUMITRAX_STATIC_LINK})
set_target_properties(about_shot PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_executable(theme_shot tests/bench/theme_shot.cpp ${LUMITRAX_RC})
add_dependencies(theme_shot lumitrax_pictures)
target_link_libraries(theme_shot PRIVATE lumitrax_win lumitrax_site_roots)
target_link_options(theme_shot PRIVATE ${LUMITRAX_STATIC_LINK} -municode)
set_target_properties(theme_shot PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# Tests of the release's installer, run by scripts/test-package.sh against the
# installer scripts/package.sh made (not part of ctest: it needs that file).
add_executable(install_tests tests/install/install_test.cpp tests/e2e/e2e_support.cpp)
target_link_libraries(install_tests PRIVATE lumitrax_winapi gtest_main version ole32)
target_include_directories(install_tests PRIVATE tests/e2e tests/win)
target_compile_options(install_tests PRIVATE ${LUMITRAX_WARNINGS})
target_link_options(install_tests PRIVATE ${LUMITRAX_STATIC_LINK})
set_target_properties(install_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# Poses the program for the README's pictures (scripts/docs-pictures.sh).
add_executable(docs_pictures tools/docs_pictures.cpp)
add_dependencies(docs_pictures Lumitrax)
target_link_libraries(docs_pictures PRIVATE lumitrax_winapi)
target_compile_options(docs_pictures PRIVATE ${LUMITRAX_WARNINGS})
target_link_options(docs_pictures PRIVATE ${LUMITRAX_STATIC_LINK} -municode)
set_target_properties(docs_pictures PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# The soak: the real program driven from another process through a long day
# (run by scripts/soak.sh; a benchmark, not a test).
add_executable(soak_bench tests/bench/soak.cpp tests/e2e/e2e_support.cpp)
add_dependencies(soak_bench Lumitrax)
target_link_libraries(soak_bench PRIVATE lumitrax_winapi)
target_include_directories(soak_bench PRIVATE tests/e2e)
target_compile_options(soak_bench PRIVATE ${LUMITRAX_WARNINGS})
target_link_options(soak_bench PRIVATE ${LUMITRAX_STATIC_LINK})
set_target_properties(soak_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
