# Starts plat_demo with PLAT_SCREENSHOT set and checks that the picture is
# written and announced while the program keeps running.
file(REMOVE "${OUT}")
execute_process(
  COMMAND "${CMAKE_COMMAND}" -E env "PLAT_SCREENSHOT=${OUT}" PLAT_SCREENSHOT_DELAY_MS=300
          timeout 4 "${DEMO}"
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 124)
  message(FATAL_ERROR "plat_demo ended on its own (${rc}) instead of running on: ${err}")
endif()
if(NOT out MATCHES "screenshot written to ${OUT}")
  message(FATAL_ERROR "no announcement; stdout was: ${out}")
endif()
file(SIZE "${OUT}" size)
if(size LESS 1000)
  message(FATAL_ERROR "${OUT} is only ${size} bytes")
endif()
