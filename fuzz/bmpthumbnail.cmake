quillon_add_fuzz(bmpthumbnail ${CMAKE_CURRENT_SOURCE_DIR}/bmpthumbnail_fuzz.cpp LIBS quillon_media)
