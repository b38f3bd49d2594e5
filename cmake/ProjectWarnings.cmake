# Warnings every target of the project builds with; -Werror is switched on in CI.
add_library(quindle_warnings INTERFACE)
target_compile_options(quindle_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual)
if(QUINDLE_WERROR)
  target_compile_options(quindle_warnings INTERFACE -Werror)
endif()

if(QUINDLE_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# quindle_library(NAME SOURCES... [LIBS ...]): one static library of a subsystem folder.
# Headers are named from the source root ("platform/Clock.h"); quindle_platform, which every
# subsystem links, hands that root on to whoever links it.
function(quindle_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS} PRIVATE quindle_warnings)
endfunction()

# Adds every folder directly below the current one that has a CMakeLists.txt of its own:
# tools, benchmarks, fuzz targets and system test suites join the build by being there.
function(quindle_add_subfolders)
  file(GLOB folders LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(folder IN LISTS folders)
    if(IS_DIRECTORY ${folder} AND EXISTS ${folder}/CMakeLists.txt)
      add_subdirectory(${folder})
    endif()
  endforeach()
endfunction()
