# Sound playback and the door's counted wait, apart from the windows so that they can be
# tested without them. doors/sound.cmake adds PlayWave and the wait. The audio output itself
# is a module beside the program (libtarvola_sound.so), loaded on the first sound.
add_library(tarvola_sound STATIC
  ${CMAKE_CURRENT_LIST_DIR}/Wave.h ${CMAKE_CURRENT_LIST_DIR}/Wave.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Sound.h ${CMAKE_CURRENT_LIST_DIR}/Sound.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SoundModule.h)
target_link_libraries(tarvola_sound PUBLIC tarvola_base tarvola_assets PRIVATE ${CMAKE_DL_LIBS})
target_link_libraries(tarvola_core PUBLIC tarvola_sound)

add_library(tarvola_sound_module MODULE
  ${CMAKE_CURRENT_LIST_DIR}/Wave.h ${CMAKE_CURRENT_LIST_DIR}/Wave.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SoundModule.h ${CMAKE_CURRENT_LIST_DIR}/SoundAlsa.cpp)
set_target_properties(tarvola_sound_module PROPERTIES OUTPUT_NAME tarvola_sound PREFIX "lib"
                      CXX_VISIBILITY_PRESET hidden LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
target_link_libraries(tarvola_sound_module PRIVATE tarvola_base ALSA::ALSA)
# The tests and benchmarks run from folders of their own: the module goes beside them too.
add_custom_command(TARGET tarvola_sound_module POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/tests ${CMAKE_BINARY_DIR}/bench
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:tarvola_sound_module> ${CMAKE_BINARY_DIR}/tests/
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:tarvola_sound_module> ${CMAKE_BINARY_DIR}/bench/)
add_dependencies(tarvola_sound tarvola_sound_module)
