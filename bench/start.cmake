quillon_add_bench(start_bench SOURCES start_bench.cpp LIBS quillon_app)
