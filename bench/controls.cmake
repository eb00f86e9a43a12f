# Strip graph advances, each followed by a paint, at two widths side by side.
if(WIN32)
  kt_add_bench(strip_graph_bench strip_graph_bench.cpp)
  target_link_libraries(strip_graph_bench PRIVATE user32 gdi32)
endif()
