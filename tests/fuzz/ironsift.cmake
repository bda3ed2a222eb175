# ironsift fuzz targets.
velko_fuzz_target(abundance_plot fuzz_abundance_plot.cpp)
target_link_libraries(fuzz_abundance_plot PRIVATE ironsift_core)
