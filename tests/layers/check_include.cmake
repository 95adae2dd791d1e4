# Compiles a file holding one include with a layer's include root.
# -D CXX=compiler ROOT=include-root HEADER=layer/x.h PROBE=file-to-write EXPECT=compiles|missing
file(WRITE ${PROBE} "#include \"${HEADER}\"\n")
execute_process(COMMAND ${CXX} -std=c++20 -fsyntax-only -I${ROOT} ${PROBE}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(EXPECT STREQUAL "compiles")
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "\"${HEADER}\" should compile with ${ROOT}:\n${out}${err}")
  endif()
elseif(rc EQUAL 0)
  message(FATAL_ERROR "\"${HEADER}\" compiled with ${ROOT}: an upward include went unnoticed")
elseif(NOT err MATCHES "No such file|not found")
  message(FATAL_ERROR "\"${HEADER}\" failed for another reason than a missing file:\n${err}")
endif()
