# The Qt the Windows cross build links the editor against: QORA_WINDOWS_QT names its prefix; by default it is the
# folder scripts/windows-qt builds for its current recipe (the same cache, keyed by the script's SHA-256). Without
# a finished Qt there, the cross build makes qora-cli.exe alone and says why.
if(NOT QORA_WINDOWS_QT)
  file(SHA256 "${PROJECT_SOURCE_DIR}/scripts/windows-qt" recipe)
  string(SUBSTRING "${recipe}" 0 16 recipe)
  if(NOT "$ENV{QORA_WINDOWS_QT_CACHE}" STREQUAL "")
    set(cache "$ENV{QORA_WINDOWS_QT_CACHE}")
  else()
    set(cache "$ENV{HOME}/.cache/qora/windows-qt")
  endif()
  if(EXISTS "${cache}/${recipe}/qt/.complete")
    set(QORA_WINDOWS_QT "${cache}/${recipe}/qt")
  endif()
endif()

if(NOT QORA_WINDOWS_QT OR NOT EXISTS "${QORA_WINDOWS_QT}/lib/cmake/Qt6/Qt6Config.cmake")
  message(STATUS "No Qt for Windows (scripts/windows-qt builds it): the editor qora.exe is left out")
  set(QORA_BUILD_GUI OFF)
  return()
endif()

message(STATUS "Qt for Windows: ${QORA_WINDOWS_QT}")
# The Qt libraries come from the Windows prefix, their tools (moc, rcc, uic) from the host's Qt of the same version.
list(APPEND CMAKE_FIND_ROOT_PATH "${QORA_WINDOWS_QT}")
list(APPEND CMAKE_PREFIX_PATH "${QORA_WINDOWS_QT}")
file(GLOB host_info LIST_DIRECTORIES true "/usr/lib/*/cmake/Qt6HostInfo")
if(NOT host_info)
  message(FATAL_ERROR "The host's Qt tools are missing: run scripts/setup")
endif()
list(GET host_info 0 host_info)
get_filename_component(host_cmake "${host_info}" DIRECTORY)
set(QT_HOST_PATH "/usr" CACHE PATH "The host's Qt, whose tools the Windows build runs")
set(QT_HOST_PATH_CMAKE_DIR "${host_cmake}" CACHE PATH "The host Qt's CMake packages")
