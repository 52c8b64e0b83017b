# The maker's resource library, a shared library of its own beside the program.
# Only LumoraHpURL is visible; everything else stays inside.
add_library(Sorrel3Res SHARED
  ${CMAKE_CURRENT_LIST_DIR}/Sorrel3Res.h
  ${CMAKE_CURRENT_LIST_DIR}/Sorrel3Res.cpp)
target_include_directories(Sorrel3Res PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(Sorrel3Res PRIVATE SORREL3RES_BUILDING)
set_target_properties(Sorrel3Res PROPERTIES
  C_VISIBILITY_PRESET hidden
  CXX_VISIBILITY_PRESET hidden
  VISIBILITY_INLINES_HIDDEN ON
  LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
target_link_options(Sorrel3Res PRIVATE LINKER:--no-undefined)

# The program loads it at run time and never links it, so the build order is
# all that ties them: whatever builds the program or the loader builds it too.
add_dependencies(tarvola_core Sorrel3Res)
if(TARGET tarvola_makerlib)
  add_dependencies(tarvola_makerlib Sorrel3Res)
endif()
