# Compile options shared by every target of the project, and the helpers that
# declare the libraries, programs and tests.

add_library(tavrisk_options INTERFACE)
target_compile_features(tavrisk_options INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)
target_compile_options(tavrisk_options INTERFACE -Wall -Wextra -Werror -pedantic)
# Qt safety: no silent conversions between byte strings and QString; every
# conversion goes through the codec.
target_compile_definitions(tavrisk_options INTERFACE
  QT_NO_CAST_FROM_ASCII
  QT_NO_CAST_TO_ASCII
  QT_NO_CAST_FROM_BYTEARRAY
  QT_NO_URL_CAST_FROM_STRING
  QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
  QT_NO_FOREACH)

set(TAVRISK_CHECK_NO_QT "${CMAKE_CURRENT_LIST_DIR}/CheckNoQt.cmake")

# tavrisk_core_library(NAME DIR): a static library of every .cpp in DIR. The
# core libraries use the standard library and POSIX only; the build fails if
# one of their files includes a Qt header.
function(tavrisk_core_library name dir)
  file(GLOB sources CONFIGURE_DEPENDS "${dir}/*.cpp")
  file(GLOB headers CONFIGURE_DEPENDS "${dir}/*.h")
  if(NOT sources)
    # A folder whose first unit has not been written yet still yields a library.
    set(placeholder "${CMAKE_CURRENT_BINARY_DIR}/${name}_empty.cpp")
    file(WRITE "${placeholder}" "namespace {}\n")
    set(sources "${placeholder}")
  endif()
  add_custom_command(
    OUTPUT "${CMAKE_CURRENT_BINARY_DIR}/${name}_qt_free.stamp"
    COMMAND ${CMAKE_COMMAND} -DDIR=${dir} -P "${TAVRISK_CHECK_NO_QT}"
    COMMAND ${CMAKE_COMMAND} -E touch "${CMAKE_CURRENT_BINARY_DIR}/${name}_qt_free.stamp"
    DEPENDS ${sources} ${headers}
    COMMENT "Checking that ${name} includes no Qt header")
  add_custom_target(${name}_qt_free DEPENDS "${CMAKE_CURRENT_BINARY_DIR}/${name}_qt_free.stamp")
  add_library(${name} STATIC ${sources} ${headers})
  add_dependencies(${name} ${name}_qt_free)
  target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}")
  target_link_libraries(${name} PUBLIC tavrisk_options)
endfunction()

# tavrisk_add_tests(DIR LIBS...): one test program per DIR/*_test.cpp, each
# registered with CTest under its file name.
function(tavrisk_add_tests dir)
  file(GLOB tests CONFIGURE_DEPENDS "${dir}/*_test.cpp")
  foreach(src IN LISTS tests)
    get_filename_component(base "${src}" NAME_WE)
    get_filename_component(group "${dir}" NAME)
    set(target "${group}_${base}")
    add_executable(${target} "${src}")
    target_link_libraries(${target} PRIVATE ${ARGN} tavrisk_test_support GTest::gtest GTest::gmock GTest::gtest_main tavrisk_options)
    add_test(NAME "${group}/${base}" COMMAND ${target})
    set(environment "QT_QPA_PLATFORM=offscreen;TAVRISK_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data")
    if(group STREQUAL "app")
      # Under AddressSanitizer: the web engine's own code frees some objects
      # through a base of another size, which the sanitizer would report.
      list(APPEND environment "ASAN_OPTIONS=detect_leaks=1:new_delete_type_mismatch=0")
    endif()
    set_tests_properties("${group}/${base}" PROPERTIES
      ENVIRONMENT "${environment}"
      TIMEOUT 300)
  endforeach()
endfunction()
