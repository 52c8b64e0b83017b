# Pictures, icon and cursor. Their editable sources are the SVG files in src/;
# the generator assetgen renders them into the bitmaps below, which are kept in
# the repository so that a normal build needs no rendering. After editing a
# source, run `make assets` (the build target "assets") and commit the results.

set(tarvola_picture_files
  pictures/bus.bmp              pictures/bus@2x.bmp
  pictures/door_front.bmp       pictures/door_front@2x.bmp
  pictures/door_leaf.bmp        pictures/door_leaf@2x.bmp
  pictures/door_second.bmp      pictures/door_second@2x.bmp
  pictures/interior_seat.bmp    pictures/interior_seat@2x.bmp
  pictures/interior_steps.bmp   pictures/interior_steps@2x.bmp
  pictures/switch_mae.bmp       pictures/switch_mae@2x.bmp
  pictures/switch_naka.bmp      pictures/switch_naka@2x.bmp
  icons/tarvola.ico             icons/tarvola@2x.png
  cursors/hand.png              cursors/hand@2x.png
)
# Stored uncompressed: the bus picture is read at every start, and decompressing it
# costs more than the few megabytes it adds to the program.
qt_add_resources(tarvola_assets "pictures"
  PREFIX "/"
  OPTIONS --no-compress
  BASE ${CMAKE_CURRENT_SOURCE_DIR}
  FILES ${tarvola_picture_files})

# The generator, built only on request. Its rendering code is a library of its
# own so that the tests can check that rendering is reproducible.
add_library(assetgen_core STATIC EXCLUDE_FROM_ALL
  gen/AssetList.h gen/AssetList.cpp
  gen/BmpWriter.h gen/BmpWriter.cpp
  gen/IcoWriter.h gen/IcoWriter.cpp
  gen/LittleEndian.h
  gen/SvgRender.h gen/SvgRender.cpp
  gen/Generator.h gen/Generator.cpp)
target_include_directories(assetgen_core PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(assetgen_core PUBLIC Qt6::Gui Qt6::Svg)

add_executable(assetgen EXCLUDE_FROM_ALL gen/assetgen.cpp)
target_link_libraries(assetgen PRIVATE assetgen_core)

add_custom_target(assets
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
          $<TARGET_FILE:assetgen> ${CMAKE_CURRENT_SOURCE_DIR}
  DEPENDS assetgen
  COMMENT "Rendering the pictures, icon and cursor from assets/src"
  VERBATIM)
