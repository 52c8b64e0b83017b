target_sources(tarvola_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/DoorMovement.h ${CMAKE_CURRENT_LIST_DIR}/DoorMovement.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Form1_doors.cpp
)
