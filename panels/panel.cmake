target_sources(tarvola_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/frmSet.h ${CMAKE_CURRENT_LIST_DIR}/frmSet.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Form1_panels.cpp
)
