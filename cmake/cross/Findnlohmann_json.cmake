# nlohmann-json for a cross build: header-only, so the host's headers serve
# every target. Only the nlohmann/ folder is copied into the build tree and
# put on the include path: adding the host's whole /usr/include would mix its
# C library headers into the target's.
if(NOT TARGET nlohmann_json::nlohmann_json)
  find_path(VESK310_NLOHMANN_INCLUDE nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH NO_DEFAULT_PATH)
  if(NOT VESK310_NLOHMANN_INCLUDE)
    message(FATAL_ERROR "nlohmann/json.hpp not found on the host (Debian package nlohmann-json3-dev)")
  endif()
  file(COPY ${VESK310_NLOHMANN_INCLUDE}/nlohmann DESTINATION ${CMAKE_BINARY_DIR}/nlohmann-include)
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
  set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES ${CMAKE_BINARY_DIR}/nlohmann-include)
endif()
set(nlohmann_json_FOUND TRUE)
