tarvola_add_bench(drag_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/drag_bench.cpp ${CMAKE_CURRENT_LIST_DIR}/BusWindowBench.h)
