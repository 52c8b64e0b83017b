tarvola_add_bench(door_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/door_bench.cpp ${CMAKE_CURRENT_LIST_DIR}/BusWindowBench.h)
