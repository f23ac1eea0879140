quillon_add_fuzz(picturename ${CMAKE_CURRENT_SOURCE_DIR}/picturename_fuzz.cpp LIBS quillon_measure_core)
