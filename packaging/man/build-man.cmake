# Turns one manual page source into its compressed page: scdoc, then gzip -9n (no name or
# time stamp inside, so the same source gives the same bytes).
#   cmake -DSCDOC=... -DGZIP=... -DSOURCE=page.scd -DOUTPUT=page.1.gz [-DEPOCH=...] -P build-man.cmake
if(DEFINED EPOCH)
  set(ENV{SOURCE_DATE_EPOCH} "${EPOCH}")
endif()
string(REGEX REPLACE "\\.gz$" "" page "${OUTPUT}")
execute_process(COMMAND "${SCDOC}" INPUT_FILE "${SOURCE}" OUTPUT_FILE "${page}"
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  file(REMOVE "${page}")
  message(FATAL_ERROR "scdoc failed on ${SOURCE}: ${err}")
endif()
execute_process(COMMAND "${GZIP}" -9nf "${page}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "gzip failed on ${page}")
endif()
