# wavepick's readers of external text, each driven through the program's own
# code (fuzz_program.h turns the program's stops and reports into outcomes).
foreach(name gf_records gf_scan lines_tmp model_file ewtemp arguments)
  velko_fuzz_target(${name} fuzz_${name}.cpp)
  target_link_libraries(fuzz_${name} PRIVATE wavepick_core)
  velko_use_program_headers(fuzz_${name} wavepick)
endforeach()
