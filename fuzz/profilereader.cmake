quillon_add_fuzz(profilereader ${CMAKE_CURRENT_SOURCE_DIR}/profilereader_fuzz.cpp LIBS quillon_platform)
