# The picture loader: raster formats through Qt's image readers, Windows metafiles
# through libwmf, enhanced metafiles through libemf2svg and Qt SVG.
pkg_check_modules(LIBWMF REQUIRED IMPORTED_TARGET libwmf)
find_path(EMF2SVG_INCLUDE_DIR emf2svg.h REQUIRED)
find_library(EMF2SVG_LIBRARY emf2svg REQUIRED)

add_library(tarvola_pictures STATIC
  ${CMAKE_CURRENT_LIST_DIR}/PictureLoader.h ${CMAKE_CURRENT_LIST_DIR}/PictureLoader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PictureErrors.h ${CMAKE_CURRENT_LIST_DIR}/PictureErrors.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PictureFormat.h ${CMAKE_CURRENT_LIST_DIR}/PictureFormat.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PictureRaster.h ${CMAKE_CURRENT_LIST_DIR}/PictureRaster.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PictureBytes.h ${CMAKE_CURRENT_LIST_DIR}/PictureLimits.h
  ${CMAKE_CURRENT_LIST_DIR}/MetafileSize.h ${CMAKE_CURRENT_LIST_DIR}/MetafileSize.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MetafileWmf.h ${CMAKE_CURRENT_LIST_DIR}/MetafileWmf.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MetafileEmf.h ${CMAKE_CURRENT_LIST_DIR}/MetafileEmf.cpp
)
target_include_directories(tarvola_pictures PRIVATE ${EMF2SVG_INCLUDE_DIR})
target_link_libraries(tarvola_pictures
  PUBLIC tarvola_base Qt6::Gui
  PRIVATE Qt6::Svg PkgConfig::LIBWMF ${EMF2SVG_LIBRARY})

target_link_libraries(tarvola_core PUBLIC tarvola_pictures)

# In fuzz builds the loader itself is instrumented, so the fuzzer sees its branches.
if(TARVOLA_FUZZ)
  target_compile_options(tarvola_pictures PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
endif()
