target_sources(tarvola_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Rolling.h ${CMAKE_CURRENT_LIST_DIR}/Rolling.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Form1_signs.cpp
)
