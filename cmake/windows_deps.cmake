# The libraries of a Windows build that Debian does not ship for the target: GoogleTest is built
# from its sources, and the header-only CLI11 and nlohmann-json are taken from the build
# machine's include folder through a folder of their own, so that no other host header can
# shadow the target's C library.
set(QP40_GOOGLETEST_DIR "/usr/src/googletest" CACHE PATH "GoogleTest sources to build")
set(QP40_HOST_INCLUDE_DIR "/usr/include" CACHE PATH "Where the CLI and nlohmann headers are")

if(EXISTS "${QP40_GOOGLETEST_DIR}/CMakeLists.txt")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  # GoogleTest's own sources are built without our warnings-as-errors.
  get_directory_property(qp40_saved_options COMPILE_OPTIONS)
  set_directory_properties(PROPERTIES COMPILE_OPTIONS "")
  add_subdirectory("${QP40_GOOGLETEST_DIR}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
  set_directory_properties(PROPERTIES COMPILE_OPTIONS "${qp40_saved_options}")
  # GoogleTest's CMake names its libraries GTest::gtest, GTest::gtest_main and GTest::gmock.
else()
  find_package(GTest REQUIRED)
endif()

# A cross-build takes the two header folders alone; on Windows itself the folder holding them
# can be used as it is.
if(CMAKE_CROSSCOMPILING)
  set(qp40_host_headers "${CMAKE_BINARY_DIR}/host-headers")
  foreach(folder CLI nlohmann)
    if(EXISTS "${QP40_HOST_INCLUDE_DIR}/${folder}" AND NOT EXISTS "${qp40_host_headers}/${folder}")
      file(MAKE_DIRECTORY "${qp40_host_headers}")
      file(CREATE_LINK "${QP40_HOST_INCLUDE_DIR}/${folder}" "${qp40_host_headers}/${folder}"
        SYMBOLIC)
    endif()
  endforeach()
else()
  set(qp40_host_headers "${QP40_HOST_INCLUDE_DIR}")
endif()
if(EXISTS "${qp40_host_headers}/CLI/CLI.hpp")
  add_library(CLI11::CLI11 INTERFACE IMPORTED)
  target_include_directories(CLI11::CLI11 SYSTEM INTERFACE "${qp40_host_headers}")
endif()
if(EXISTS "${qp40_host_headers}/nlohmann/json.hpp")
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
  target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE "${qp40_host_headers}")
endif()
