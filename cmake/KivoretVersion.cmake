# The version (project()) and the reverse-DNS id reach the sources through one generated header.
set(KV_APP_ID io.github.kivoret.kivoret)
set(KV_GENERATED_DIR ${PROJECT_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in ${KV_GENERATED_DIR}/kivoret_version.h @ONLY)
add_library(kv_version INTERFACE)
target_include_directories(kv_version INTERFACE ${KV_GENERATED_DIR})
