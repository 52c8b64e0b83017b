# Icon themes want PNG icons at fixed sizes; the program carries a 64-pixel PNG
# but its 32-pixel icon only as .ico. The 32-pixel PNG is rendered from the same
# SVG at build time, so `make install` needs nothing beyond the build tools.
add_executable(desktopicon gen/desktopicon.cpp)
target_link_libraries(desktopicon PRIVATE assetgen_core)
set_target_properties(desktopicon PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

set(tarvola_desktop_icon32 ${CMAKE_BINARY_DIR}/share/icons/tarvola-32.png)
add_custom_command(OUTPUT ${tarvola_desktop_icon32}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/share/icons
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
          $<TARGET_FILE:desktopicon> ${CMAKE_CURRENT_SOURCE_DIR}/icons/tarvola.svg 32
          ${tarvola_desktop_icon32}
  DEPENDS desktopicon ${CMAKE_CURRENT_SOURCE_DIR}/icons/tarvola.svg
  COMMENT "Rendering the 32-pixel desktop icon"
  VERBATIM)
add_custom_target(desktop_icon ALL DEPENDS ${tarvola_desktop_icon32})
