tarvola_add_bench(picture_load_bench
  SOURCES picture_load_bench.cpp ${CMAKE_SOURCE_DIR}/tests/pictures/SamplePictures.cpp
  LIBS tarvola_pictures tarvola_metafile_render)
target_include_directories(picture_load_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests/pictures)
