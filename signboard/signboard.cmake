target_sources(tarvola_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/FrameFit.h ${CMAKE_CURRENT_LIST_DIR}/FrameFit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Form1_signboard.cpp
)
