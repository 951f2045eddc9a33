# libFuzzer harnesses of tests/fuzz, built only with -DLUMIVEX_FUZZ=ON and clang (see scripts/fuzz).
option(LUMIVEX_FUZZ "Build the libFuzzer harnesses of tests/fuzz (needs clang)" OFF)
if(NOT LUMIVEX_FUZZ)
  return()
endif()
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "LUMIVEX_FUZZ needs clang++ as the C++ compiler (libFuzzer), not ${CMAKE_CXX_COMPILER_ID}")
endif()

# The core is compiled a second time with coverage instrumentation; lumivex_core keeps its own flags.
set(fuzz_sanitize -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g)
add_library(lumivex_core_fuzz STATIC ${core_sources})
target_include_directories(lumivex_core_fuzz PUBLIC src)

# Given libjpeg-turbo's sources, the JPEG library is built with coverage and ASan too, so that the fuzzer sees
# inside the decoder; otherwise the system library is linked and only the program's own code is guided.
set(LUMIVEX_FUZZ_JPEG_SOURCE "" CACHE PATH "libjpeg-turbo sources to build instrumented for fuzzing")
if(LUMIVEX_FUZZ_JPEG_SOURCE)
  include(ExternalProject)
  set(jpeg_build ${CMAKE_CURRENT_BINARY_DIR}/libjpeg-fuzz)
  if(CMAKE_GENERATOR MATCHES "Makefiles")
    set(jpeg_build_command $(MAKE) -C ${jpeg_build} jpeg-static)  # joins the parent's job server
  else()
    set(jpeg_build_command ${CMAKE_COMMAND} --build ${jpeg_build} --target jpeg-static)
  endif()
  ExternalProject_Add(libjpeg_fuzz_build
    SOURCE_DIR ${LUMIVEX_FUZZ_JPEG_SOURCE}
    BINARY_DIR ${jpeg_build}
    CMAKE_ARGS -DCMAKE_C_COMPILER=${CMAKE_C_COMPILER} -DCMAKE_BUILD_TYPE=RelWithDebInfo
               "-DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link,address -fno-omit-frame-pointer"
               -DENABLE_SHARED=0 -DENABLE_STATIC=1 -DWITH_TURBOJPEG=0 -DWITH_SIMD=0 -DWITH_JPEG8=0
    BUILD_COMMAND ${jpeg_build_command}
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${jpeg_build}/libjpeg.a)
  add_dependencies(lumivex_core_fuzz libjpeg_fuzz_build)
  target_include_directories(lumivex_core_fuzz BEFORE PUBLIC ${LUMIVEX_FUZZ_JPEG_SOURCE} ${jpeg_build})
  target_link_libraries(lumivex_core_fuzz PUBLIC ${jpeg_build}/libjpeg.a)
else()
  target_link_libraries(lumivex_core_fuzz PUBLIC JPEG::JPEG)
endif()

# libspng is one C file: given its sources it is compiled with coverage and ASan into the harnesses, so that the PNG
# harness is guided inside the decoder; otherwise the system library is linked.
set(LUMIVEX_FUZZ_SPNG_SOURCE "" CACHE PATH "libspng sources to build instrumented for fuzzing")
if(LUMIVEX_FUZZ_SPNG_SOURCE)
  find_package(ZLIB REQUIRED)
  add_library(spng_fuzz STATIC ${LUMIVEX_FUZZ_SPNG_SOURCE}/spng/spng.c)
  target_include_directories(spng_fuzz PUBLIC ${LUMIVEX_FUZZ_SPNG_SOURCE}/spng)
  target_compile_options(spng_fuzz PRIVATE -fsanitize=fuzzer-no-link,address -fno-omit-frame-pointer -w)
  target_link_libraries(spng_fuzz PUBLIC ZLIB::ZLIB m)
  target_link_libraries(lumivex_core_fuzz PUBLIC spng_fuzz)
else()
  target_link_libraries(lumivex_core_fuzz PUBLIC spng)
endif()
target_compile_options(lumivex_core_fuzz PUBLIC ${fuzz_sanitize} PRIVATE -fsanitize=fuzzer-no-link)
target_link_options(lumivex_core_fuzz PUBLIC ${fuzz_sanitize})

add_custom_target(lumivex_fuzzers)
set(fuzz_harnesses fuzz_bmp fuzz_jpeg fuzz_message_list fuzz_png fuzz_settings_value)  # each tests/fuzz/<name>.cpp
foreach(name ${fuzz_harnesses})
  add_executable(${name} tests/fuzz/${name}.cpp)
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE lumivex_core_fuzz)
  add_dependencies(lumivex_fuzzers ${name})
endforeach()
