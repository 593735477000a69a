# i386 Linux code built with clang: the fuzz targets (tests/fuzz), which need libFuzzer.
include(${CMAKE_CURRENT_LIST_DIR}/linux-i386.cmake)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
