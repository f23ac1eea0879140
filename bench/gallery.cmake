quillon_add_bench(gallery_bench SOURCES gallery_bench.cpp LIBS quillon_media)
