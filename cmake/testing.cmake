# GoogleTest is built from Debian's sources so that the same version serves
# the host build and the cross builds.
if(MV_TESTS)
  enable_testing()
  set(MV_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(${MV_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  if(MV_SANITIZE)
    foreach(t gtest gtest_main gmock)
      target_compile_options(${t} PRIVATE -fsanitize=address,undefined)
    endforeach()
  endif()
  if(WIN32)
    foreach(t gtest gtest_main gmock)
      target_link_options(${t} INTERFACE -static -static-libgcc -static-libstdc++)
    endforeach()
  endif()
  # Every test writes its GoogleTest report here; scripts/test-summary.sh
  # counts the cases.
  set(MV_TEST_XML_DIR ${CMAKE_BINARY_DIR}/test-xml)
endif()

# mv_add_test(NAME SOURCES ... [LIBS ...] [DESKTOP] [TIMEOUT s])
# A GoogleTest executable registered with CTest. In the Windows build CTest
# runs it through the Wine harness (CMAKE_CROSSCOMPILING_EMULATOR); DESKTOP
# runs it inside a Wine virtual desktop, where real input works.
function(mv_add_test name)
  cmake_parse_arguments(ARG "DESKTOP" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gmock mv_options)
  target_compile_definitions(${name} PRIVATE MV_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                                             MV_BINARY_DIR="${CMAKE_BINARY_DIR}")
  if(ARG_DESKTOP AND WIN32)
    add_test(NAME ${name} COMMAND ${MV_WINE_RUN} --desktop $<TARGET_FILE:${name}>)
    # Real input moves the one pointer and keyboard focus of the display: two
    # such tests at once, or another test's window taking the focus, would
    # steer each other's clicks. They run alone.
    set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
  else()
    add_test(NAME ${name} COMMAND ${name})
  endif()
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "GTEST_OUTPUT=xml:${MV_TEST_XML_DIR}/${name}.xml")
  if(ARG_TIMEOUT)
    set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
  else()
    set_tests_properties(${name} PROPERTIES TIMEOUT 600)
  endif()
endfunction()
