quillon_add_fuzz(jpegthumbnail ${CMAKE_CURRENT_SOURCE_DIR}/jpegthumbnail_fuzz.cpp LIBS quillon_media)
