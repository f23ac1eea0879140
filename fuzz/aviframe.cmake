quillon_add_fuzz(aviframe ${CMAKE_CURRENT_SOURCE_DIR}/aviframe_fuzz.cpp LIBS quillon_platform)
