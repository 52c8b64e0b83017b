tarvola_add_fuzzer(wave SOURCES wave_fuzz.cpp LIBS tarvola_sound)
