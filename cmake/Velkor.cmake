# Shared build settings and helpers for every target of the project.

set(VELKOR_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)

# Every Japanese literal becomes Shift_JIS bytes in the binary, on both builds.
set(VELKOR_CXX_FLAGS -Wall -Wextra -Wno-unused-parameter -fexec-charset=CP932)
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  # clang only knows UTF-8 as execution charset; it builds only the fuzz targets,
  # where the literals' encoding does not matter for memory safety.
  set(VELKOR_CXX_FLAGS -Wall -Wextra -Wno-unused-parameter)
endif()

if(WIN32)
  # The shipped build is 32-bit while the Windows tests may run the 64-bit one:
  # a function pointer cast to another type would hide a calling-convention
  # slip that only the 32-bit program has, so such a cast fails the build.
  list(APPEND VELKOR_CXX_FLAGS -Wcast-function-type -Werror=cast-function-type)
  # The compiler must really refuse such a cast, or the flags protect nothing.
  include(CheckCXXSourceCompiles)
  set(CMAKE_REQUIRED_FLAGS "-Wcast-function-type -Werror=cast-function-type")
  check_cxx_source_compiles([[
    #include <windows.h>
    static LRESULT CALLBACK Procedure(HWND, UINT, WPARAM, LPARAM) { return 0; }
    int main() { return reinterpret_cast<FARPROC>(&Procedure) != nullptr; }
  ]] VELKOR_FUNCTION_CAST_ACCEPTED)
  unset(CMAKE_REQUIRED_FLAGS)
  if(VELKOR_FUNCTION_CAST_ACCEPTED)
    message(FATAL_ERROR "${CMAKE_CXX_COMPILER} accepts a cast between function types despite -Werror=cast-function-type")
  endif()
  add_compile_definitions(_WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600
                          STRICT NOMINMAX WIN32_LEAN_AND_MEAN
                          )
  # Nothing but the system DLLs at run time.
  add_link_options(-static -static-libgcc -static-libstdc++)
  set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001 -DRC_INVOKED")
endif()

if(VELKOR_SANITIZE AND NOT WIN32)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# velkor_library(NAME SOURCES... [LIBS ...]) — a static library of the project.
function(velkor_library name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_compile_options(${name} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${VELKOR_CXX_FLAGS}>)
  target_include_directories(${name} PUBLIC ${VELKOR_ROOT}/src)
  if(A_LIBS)
    target_link_libraries(${name} PUBLIC ${A_LIBS})
  endif()
endfunction()

# velkor_executable(NAME SOURCES... [LIBS ...] [GUI] [CONSOLE])
function(velkor_executable name)
  cmake_parse_arguments(A "GUI" "" "SOURCES;LIBS" ${ARGN})
  if(A_GUI AND WIN32)
    add_executable(${name} WIN32 ${A_SOURCES})
    # The shipped programs carry no symbols.
    target_link_options(${name} PRIVATE $<$<CONFIG:Release>:-s>)
  else()
    add_executable(${name} ${A_SOURCES})
  endif()
  target_compile_options(${name} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${VELKOR_CXX_FLAGS}>)
  target_include_directories(${name} PRIVATE ${VELKOR_ROOT}/src)
  if(A_LIBS)
    target_link_libraries(${name} PRIVATE ${A_LIBS})
  endif()
endfunction()

macro(velkor_setup_gtest)
  if(WIN32)
    # Debian ships GoogleTest as source; build it with the cross compiler.
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
    include_directories(BEFORE ${VELKOR_ROOT}/cmake/gtest-win32)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  else()
    find_package(GTest REQUIRED)
  endif()
endmacro()

# velkor_test(NAME SOURCES... LIBS ... [LABEL native|wine|window|e2e] [NOMAIN])
# A GoogleTest executable registered with CTest. Under the Windows build it runs
# through Wine (the toolchain's emulator). Results go to <build>/results as XML
# so the test command can count test cases per layer.
function(velkor_test name)
  cmake_parse_arguments(A "NOMAIN" "LABEL;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_compile_options(${name} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${VELKOR_CXX_FLAGS}>)
  target_include_directories(${name} PRIVATE ${VELKOR_ROOT}/src ${VELKOR_ROOT}/tests)
  if(A_NOMAIN)
    target_link_libraries(${name} PRIVATE ${A_LIBS} GTest::gtest GTest::gmock)
  else()
    target_link_libraries(${name} PRIVATE ${A_LIBS} GTest::gtest_main GTest::gmock)
  endif()
  if(NOT A_LABEL)
    if(WIN32)
      set(A_LABEL wine)
    else()
      set(A_LABEL native)
    endif()
  endif()
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 300)
  endif()
  # Wine sees the Unix file system as drive Z:.
  set(results ${CMAKE_BINARY_DIR}/results)
  if(WIN32)
    set(results Z:${results})
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_output=xml:${results}/${name}.xml
           WORKING_DIRECTORY $<TARGET_FILE_DIR:${name}>)
  set_tests_properties(${name} PROPERTIES LABELS ${A_LABEL} TIMEOUT ${A_TIMEOUT})
endfunction()

if(VELKOR_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
