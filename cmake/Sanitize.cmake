# The sanitizer build (./dev test --sanitize, in build-asan/): everything compiled with
# AddressSanitizer and UndefinedBehaviorSanitizer, every finding ending the process so that
# its test fails, and the coverage instrumentation libFuzzer needs for tests/fuzz/. -O1 keeps
# the suite's timing close enough to the normal build's for the transfer tests. Needs clang.
option(KVT_SANITIZE "Build with ASan, UBSan and fuzzing instrumentation (clang only)" OFF)
if(KVT_SANITIZE)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "KVT_SANITIZE needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  add_compile_options(-O1 -g -fno-omit-frame-pointer -fsanitize=address,undefined
                      -fno-sanitize-recover=all -fsanitize=fuzzer-no-link)
  add_link_options(-fsanitize=address,undefined)
endif()
