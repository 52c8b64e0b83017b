target_sources(tarvola_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Form1_settings.cpp
)
