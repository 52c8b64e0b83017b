# The picture loader: raster formats through Qt's image readers; Windows metafiles through
# libwmf and enhanced metafiles through libemf2svg and Qt SVG, in a program of their own
# (tarvola-metafile beside the program) started for each metafile under a time and a memory limit.
pkg_check_modules(LIBWMF REQUIRED IMPORTED_TARGET libwmf)
find_path(EMF2SVG_INCLUDE_DIR emf2svg.h REQUIRED)
find_library(EMF2SVG_LIBRARY emf2svg REQUIRED)

set(tarvola_metafile_sources
  ${CMAKE_CURRENT_LIST_DIR}/MetafileSize.h ${CMAKE_CURRENT_LIST_DIR}/MetafileSize.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MetafileWmf.h ${CMAKE_CURRENT_LIST_DIR}/MetafileWmf.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MetafileEmf.h ${CMAKE_CURRENT_LIST_DIR}/MetafileEmf.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PictureErrors.h ${CMAKE_CURRENT_LIST_DIR}/PictureErrors.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PictureFormat.h ${CMAKE_CURRENT_LIST_DIR}/PictureFormat.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MetafileWire.h ${CMAKE_CURRENT_LIST_DIR}/MetafileWire.cpp
)

add_library(tarvola_pictures STATIC
  ${CMAKE_CURRENT_LIST_DIR}/PictureLoader.h ${CMAKE_CURRENT_LIST_DIR}/PictureLoader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PictureErrors.h ${CMAKE_CURRENT_LIST_DIR}/PictureErrors.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PictureFormat.h ${CMAKE_CURRENT_LIST_DIR}/PictureFormat.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PictureRaster.h ${CMAKE_CURRENT_LIST_DIR}/PictureRaster.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PictureBytes.h ${CMAKE_CURRENT_LIST_DIR}/PictureLimits.h
  ${CMAKE_CURRENT_LIST_DIR}/MetafileRenderers.h ${CMAKE_CURRENT_LIST_DIR}/MetafileRenderers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MetafileWire.h ${CMAKE_CURRENT_LIST_DIR}/MetafileWire.cpp
)
target_link_libraries(tarvola_pictures PUBLIC tarvola_base Qt6::Gui PRIVATE ${CMAKE_DL_LIBS})
target_link_libraries(tarvola_core PUBLIC tarvola_pictures)

if(TARVOLA_FUZZ)
  # Fuzz builds link the renderers in and instrument the loader, so the fuzzer sees their branches.
  target_sources(tarvola_pictures PRIVATE ${tarvola_metafile_sources})
  target_compile_definitions(tarvola_pictures PRIVATE TARVOLA_METAFILES_BUILT_IN)
  target_include_directories(tarvola_pictures PRIVATE ${EMF2SVG_INCLUDE_DIR})
  target_link_libraries(tarvola_pictures PRIVATE Qt6::Svg PkgConfig::LIBWMF ${EMF2SVG_LIBRARY})
  target_compile_options(tarvola_pictures PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
else()
  # The renderers, for the renderer program (and the benchmark that weighs what the program adds).
  add_library(tarvola_metafile_render STATIC ${tarvola_metafile_sources})
  target_include_directories(tarvola_metafile_render PRIVATE ${EMF2SVG_INCLUDE_DIR})
  target_link_libraries(tarvola_metafile_render PUBLIC tarvola_base Qt6::Svg
                        PRIVATE PkgConfig::LIBWMF ${EMF2SVG_LIBRARY})
  add_executable(tarvola-metafile ${CMAKE_CURRENT_LIST_DIR}/MetafileRendererMain.cpp)
  set_target_properties(tarvola-metafile PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  target_link_libraries(tarvola-metafile PRIVATE tarvola_metafile_render)
  # The tests and benchmarks run from folders of their own: the renderer goes beside them too.
  add_custom_command(TARGET tarvola-metafile POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/tests ${CMAKE_BINARY_DIR}/bench
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:tarvola-metafile> ${CMAKE_BINARY_DIR}/tests/
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:tarvola-metafile> ${CMAKE_BINARY_DIR}/bench/)
  add_dependencies(tarvola_pictures tarvola-metafile)
endif()
