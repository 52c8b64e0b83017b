tarvola_add_bench(roll_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/roll_bench.cpp ${CMAKE_CURRENT_LIST_DIR}/BusWindowBench.h)
