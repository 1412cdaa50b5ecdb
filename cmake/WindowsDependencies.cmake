# The libraries the Windows build takes from Debian packages: CLI11 and nlohmann/json are header-only, so their
# headers are linked into a private include folder of the build (never /usr/include as a whole); GoogleTest is
# built from Debian's googletest sources with the cross compiler.
set(QORA_HOST_HEADERS "${CMAKE_BINARY_DIR}/host-headers")
file(MAKE_DIRECTORY "${QORA_HOST_HEADERS}")
foreach(library CLI nlohmann)
  if(NOT EXISTS "/usr/include/${library}")
    message(FATAL_ERROR "/usr/include/${library} is missing: run scripts/setup windows")
  endif()
  file(CREATE_LINK "/usr/include/${library}" "${QORA_HOST_HEADERS}/${library}" SYMBOLIC)
endforeach()

add_library(CLI11::CLI11 INTERFACE IMPORTED GLOBAL)
set_target_properties(CLI11::CLI11 PROPERTIES INTERFACE_INCLUDE_DIRECTORIES "${QORA_HOST_HEADERS}")
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED GLOBAL)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES INTERFACE_INCLUDE_DIRECTORIES "${QORA_HOST_HEADERS}")
set(CLI11_FOUND TRUE)
set(nlohmann_json_FOUND TRUE)

if(QORA_BUILD_TESTS)
  if(NOT EXISTS "/usr/src/googletest/CMakeLists.txt")
    message(FATAL_ERROR "/usr/src/googletest is missing: run scripts/setup windows")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
  # GoogleTest 1.11 and later define the namespaced names themselves.
  if(NOT TARGET GTest::gtest)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gtest_main ALIAS gtest_main)
  endif()
  set(GTest_FOUND TRUE)
endif()
