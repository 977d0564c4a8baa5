# The portable core alone, built for this machine with clang: the text and
# path rules, the log reading rules, file specs and copy operands, the command
# lines, HomePage.url, registry texts and the version value. Built with
# AddressSanitizer and UndefinedBehaviorSanitizer, tested with the same unit
# tests as under Wine (tests/native) and fuzzed with libFuzzer (tests/fuzz).
# The code page is the native model of common/codepage_native.cpp.
if(CMAKE_CROSSCOMPILING OR WIN32)
  message(FATAL_ERROR "ORV_NATIVE builds for this machine itself: use the native-sanitize preset.")
endif()
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "The native build needs clang for libFuzzer: use the native-sanitize preset.")
endif()

# Every object, GoogleTest's included, carries the sanitizers, and the first
# report ends the program.
set(ORV_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all)
add_compile_options(${ORV_SANITIZERS} -fno-omit-frame-pointer -g)
add_link_options(${ORV_SANITIZERS})

include(${CMAKE_CURRENT_LIST_DIR}/warnings.cmake)

set(ORV_PORTABLE_SOURCES "")
set(ORV_CORE_SOURCES "")
foreach(subsystem common framework uninstall engine wizard driver startup)
  include(${CMAKE_SOURCE_DIR}/src/${subsystem}/sources.cmake)
endforeach()
add_library(orv_portable_core STATIC ${ORV_PORTABLE_SOURCES} ${CMAKE_SOURCE_DIR}/src/common/codepage_native.cpp)
target_include_directories(orv_portable_core PUBLIC ${CMAKE_SOURCE_DIR}/src)
# Coverage counters guide the fuzz targets; the unit tests link the same
# library without libFuzzer.
target_compile_options(orv_portable_core PRIVATE ${ORV_WARNINGS} -fno-exceptions -fsanitize=fuzzer-no-link)

include(CTest)
add_subdirectory(${CMAKE_SOURCE_DIR}/tests/native ${CMAKE_BINARY_DIR}/tests/native)
add_subdirectory(${CMAKE_SOURCE_DIR}/tests/fuzz ${CMAKE_BINARY_DIR}/tests/fuzz)
