# Compile options shared by every target of our own. Third-party code
# (GoogleTest, libjpeg-turbo) is built with its own flags.
add_library(mv_options INTERFACE)
target_compile_options(mv_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion -Werror)

if(WIN32)
  # ANSI Win32 API, Windows 7 and later, no min/max macros.
  target_compile_definitions(mv_options INTERFACE
    _WIN32_WINNT=0x0601 WINVER=0x0601 NOMINMAX WIN32_LEAN_AND_MEAN)
  # One self-contained executable: no libgcc, libstdc++ or winpthread DLLs to ship.
  target_link_options(mv_options INTERFACE -static -static-libgcc -static-libstdc++)
endif()

if(MV_SANITIZE)
  set(_mv_san -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_compile_options(mv_options INTERFACE ${_mv_san})
  target_link_options(mv_options INTERFACE ${_mv_san})
endif()

# Builds a library or executable of ours with the shared options.
function(mv_use_options target)
  target_link_libraries(${target} PRIVATE mv_options)
endfunction()
