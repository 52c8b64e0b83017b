# The settings record and file: pure pieces that LoadIni and SaveIni stand on.
add_library(tarvola_settings STATIC
  ${CMAKE_CURRENT_LIST_DIR}/RecordFields.h ${CMAKE_CURRENT_LIST_DIR}/RecordFields.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SettingsRecord.h ${CMAKE_CURRENT_LIST_DIR}/SettingsRecord.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SettingsValues.h
  ${CMAKE_CURRENT_LIST_DIR}/SettingsFile.h ${CMAKE_CURRENT_LIST_DIR}/SettingsFile.cpp
)
target_link_libraries(tarvola_settings PUBLIC tarvola_base Qt6::Core)
target_link_libraries(tarvola_core PUBLIC tarvola_settings)
