# libjpeg: the host build links the system's libjpeg-turbo; the Windows builds
# compile Debian's libjpeg-turbo source (fetched by scripts/setup.sh) with the
# cross compiler and link it statically. Either way the target is mv_jpeg.
if(WIN32)
  set(MV_JPEG_SOURCE ${CMAKE_SOURCE_DIR}/build/deps/libjpeg-turbo
      CACHE PATH "libjpeg-turbo source tree for the cross build")
  if(NOT EXISTS ${MV_JPEG_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "libjpeg-turbo source not found at ${MV_JPEG_SOURCE}; run scripts/setup.sh")
  endif()
  include(ExternalProject)
  set(_jpeg_bin ${CMAKE_BINARY_DIR}/deps/libjpeg-turbo)
  file(MAKE_DIRECTORY ${_jpeg_bin})
  ExternalProject_Add(libjpeg_turbo_build
    SOURCE_DIR ${MV_JPEG_SOURCE}
    BINARY_DIR ${_jpeg_bin}
    CMAKE_ARGS
      -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
      -DCMAKE_BUILD_TYPE=Release
      -DCMAKE_INSTALL_PREFIX=${_jpeg_bin}/install
      -DENABLE_SHARED=OFF -DENABLE_STATIC=ON
      -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF
      -DCMAKE_POLICY_DEFAULT_CMP0057=NEW
      -Wno-dev
    BUILD_COMMAND ${CMAKE_COMMAND} --build ${_jpeg_bin} --target jpeg-static
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${_jpeg_bin}/libjpeg.a
    LOG_CONFIGURE ON LOG_BUILD ON LOG_OUTPUT_ON_FAILURE ON)
  add_library(mv_jpeg STATIC IMPORTED GLOBAL)
  set_target_properties(mv_jpeg PROPERTIES IMPORTED_LOCATION ${_jpeg_bin}/libjpeg.a)
  target_include_directories(mv_jpeg SYSTEM INTERFACE ${MV_JPEG_SOURCE} ${_jpeg_bin})
  add_dependencies(mv_jpeg libjpeg_turbo_build)
else()
  find_package(JPEG REQUIRED)
  add_library(mv_jpeg INTERFACE)
  target_link_libraries(mv_jpeg INTERFACE JPEG::JPEG)
endif()
