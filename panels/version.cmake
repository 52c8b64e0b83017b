# The version dialog and its homepage link.
add_library(tarvola_version STATIC
  ${CMAKE_CURRENT_LIST_DIR}/frmShowVersion.h ${CMAKE_CURRENT_LIST_DIR}/frmShowVersion.cpp)
target_link_libraries(tarvola_version PUBLIC tarvola_makerlib tarvola_assets tarvola_base)
target_link_libraries(tarvola_core PUBLIC tarvola_version)
