# Sound playback and the door's counted wait, apart from the windows so that they can be
# tested without them. doors/sound.cmake adds PlayWave and the wait.
add_library(tarvola_sound STATIC
  ${CMAKE_CURRENT_LIST_DIR}/Wave.h ${CMAKE_CURRENT_LIST_DIR}/Wave.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Sound.h ${CMAKE_CURRENT_LIST_DIR}/Sound.cpp)
target_link_libraries(tarvola_sound PUBLIC tarvola_base tarvola_assets ALSA::ALSA)
target_link_libraries(tarvola_core PUBLIC tarvola_sound)
