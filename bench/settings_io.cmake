# bench/settings_io: LoadSettings and SaveSettings on the real OS services (not built by default).
add_executable(settings_io EXCLUDE_FROM_ALL ${CMAKE_CURRENT_LIST_DIR}/settings_io.cpp)
if(WIN32)
  target_link_libraries(settings_io PRIVATE kv_win32)
else()
  target_link_libraries(settings_io PRIVATE kv_linux kv_core)
endif()
