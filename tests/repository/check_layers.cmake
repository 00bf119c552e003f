# For each "layer:header" in PROBES: the layer's probe of its own header must build, and its
# probe of the header above must fail to build for want of that header.
foreach(probe IN LISTS PROBES)
  string(REPLACE ":" ";" parts "${probe}")
  list(GET parts 0 layer)
  list(GET parts 1 header)
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target layer_probe_${layer}_own
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${layer} cannot include its own headers:\n${output}")
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target layer_probe_${layer}_above
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(result EQUAL 0)
    message(FATAL_ERROR "${layer} can include ${header}, a header of the layer above it")
  endif()
  if(NOT output MATCHES "${header}: No such file or directory")
    message(FATAL_ERROR "${layer}'s probe of ${header} failed for another reason:\n${output}")
  endif()
  message(STATUS "${layer} cannot see ${header}")
endforeach()
