# ironsift fuzz targets.
velko_fuzz_target(abundance_plot fuzz_abundance_plot.cpp)
target_link_libraries(fuzz_abundance_plot PRIVATE ironsift_core)
velko_use_program_headers(fuzz_abundance_plot ironsift)

# ironsift's readers of external text, each driven through the program's own
# code (fuzz_program.h turns the program's stops and reports into outcomes).
foreach(name params reference_abd star_abd wdt console)
  velko_fuzz_target(${name} fuzz_${name}.cpp)
  target_link_libraries(fuzz_${name} PRIVATE ironsift_core)
  velko_use_program_headers(fuzz_${name} ironsift)
endforeach()
