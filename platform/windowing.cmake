add_library(tarvola_windowing STATIC
  ${CMAKE_CURRENT_LIST_DIR}/Windowing.h ${CMAKE_CURRENT_LIST_DIR}/Windowing.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CommonDialog.h ${CMAKE_CURRENT_LIST_DIR}/CommonDialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ChildDrag.h ${CMAKE_CURRENT_LIST_DIR}/ChildDrag.cpp
)
target_link_libraries(tarvola_windowing PUBLIC tarvola_base PRIVATE PkgConfig::XCB)
target_link_libraries(tarvola_core PUBLIC tarvola_windowing)
