quillon_add_fuzz(picturefile ${CMAKE_CURRENT_SOURCE_DIR}/picturefile_fuzz.cpp LIBS quillon_picture)
