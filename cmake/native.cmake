# Native build: the core and its tests, with the machine's GoogleTest.
find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB_RECURSE LUMITRAX_CORE_TESTS CONFIGURE_DEPENDS tests/core/*.cpp)
add_executable(core_tests ${LUMITRAX_CORE_TESTS})
target_link_libraries(core_tests PRIVATE lumitrax_core lumitrax_site_roots GTest::gtest GTest::gtest_main)
target_compile_definitions(core_tests PRIVATE LUMITRAX_SITE_URL="${LUMITRAX_SITE_URL}")
target_compile_options(core_tests PRIVATE ${LUMITRAX_WARNINGS})
gtest_discover_tests(core_tests DISCOVERY_TIMEOUT 60)

# Benchmark of the tray icon composition (scripts/benchmarks.sh): the core's
# sources built optimised, whatever the build type of the tests.
add_executable(compose_bench tests/bench/compose.cpp ${LUMITRAX_CORE_SOURCES})
target_include_directories(compose_bench PRIVATE src ${LUMITRAX_TEXTS_DIR})
target_link_libraries(compose_bench PRIVATE lumitrax_site_roots)
target_compile_options(compose_bench PRIVATE -O2 ${LUMITRAX_WARNINGS})
