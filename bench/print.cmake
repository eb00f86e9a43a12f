# Exporting a list view beside reading its every cell (Windows).
if(WIN32)
  kt_add_bench(list_export_bench ${CMAKE_CURRENT_SOURCE_DIR}/list_export_bench.cpp)
  target_link_libraries(list_export_bench PRIVATE comctl32)
endif()
