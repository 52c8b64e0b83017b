tarvola_add_bench(startup_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/startup_bench.cpp LIBS PkgConfig::XCB)
tarvola_add_bench(startup_phases_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/startup_phases_bench.cpp)
