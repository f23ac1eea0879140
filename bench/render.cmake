quillon_add_bench(render_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/render_bench.cpp LIBS quillon_measure)
