# The Windows build's tests run under Wine, in a prefix of their own inside the build
# folder. Its user has the German regional format (decimal comma), so every number rule
# and file writer is seen to write full stops whatever the user's settings; Wine takes the
# user's format from the Unix locale, hence LC_ALL.
if(NOT KARTOVEX_WINE64)
    message(FATAL_ERROR "wine64 was not found: install Debian's wine64 package")
endif()

set(KARTOVEX_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/env WINEPREFIX=${KARTOVEX_WINEPREFIX} WINEDEBUG=-all
    LC_ALL=de_DE.UTF-8 ${KARTOVEX_WINE64})

# GoogleTest from Debian's sources, built for Windows like everything else; it names its
# targets GTest::gtest and GTest::gtest_main itself.
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
target_compile_options(gtest PRIVATE -w)
target_compile_options(gtest_main PRIVATE -w)

add_test(NAME wine_prefix
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-prefix ${KARTOVEX_WINEPREFIX} ${KARTOVEX_WINE64})
set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine_prefix TIMEOUT 180)

# One run per test program: starting every case in a Wine process of its own would cost
# minutes. Each program first checks that it really runs with the German format (the
# check is linked in with the test main).
function(kartovex_wine_test name)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine_prefix TIMEOUT 120)
endfunction()
