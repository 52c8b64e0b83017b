# The door sound and the wait between animation steps live in tarvola_sound
# (platform/sound.cmake), so their tests need no windows.
target_sources(tarvola_sound PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/PlayWave.h ${CMAKE_CURRENT_LIST_DIR}/PlayWave.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CountedWait.h ${CMAKE_CURRENT_LIST_DIR}/CountedWait.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SleepLateness.h ${CMAKE_CURRENT_LIST_DIR}/SleepLateness.cpp)
