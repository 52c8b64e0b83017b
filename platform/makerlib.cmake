# The maker's library loader and the hand-over of web addresses to the desktop.
add_library(tarvola_makerlib STATIC
  ${CMAKE_CURRENT_LIST_DIR}/MakerLibrary.h ${CMAKE_CURRENT_LIST_DIR}/MakerLibrary.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WebAddress.h ${CMAKE_CURRENT_LIST_DIR}/WebAddress.cpp)
target_link_libraries(tarvola_makerlib PUBLIC tarvola_base Qt6::Gui ${CMAKE_DL_LIBS})
target_link_libraries(tarvola_core PUBLIC tarvola_makerlib)
