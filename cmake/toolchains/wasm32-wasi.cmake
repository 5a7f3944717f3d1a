# WebAssembly (wasm32-wasi), compiled with Debian's clang 22 and linked by its
# wasm-ld (lld 22) against Debian's wasi-libc and wasm32 libc++. Debian keeps
# their headers and libraries under the name wasm32-wasi, so the target is
# spelled so: clang finds nothing for wasm32-wasip1 (CMakeLists.txt silences
# clang's warning that the spelling is deprecated).
set(CMAKE_SYSTEM_NAME Generic)
set(CMAKE_SYSTEM_PROCESSOR wasm32)
set(CMAKE_C_COMPILER clang-22)
set(CMAKE_CXX_COMPILER clang++-22)
set(CMAKE_C_COMPILER_TARGET wasm32-wasi)
set(CMAKE_CXX_COMPILER_TARGET wasm32-wasi)
set(CMAKE_AR /usr/lib/llvm-22/bin/llvm-ar)
set(CMAKE_RANLIB /usr/lib/llvm-22/bin/llvm-ranlib)
set(CMAKE_OBJDUMP /usr/lib/llvm-22/bin/llvm-objdump)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
