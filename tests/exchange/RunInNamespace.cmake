# Runs PROGRAM with a namespace of its own (HALVANE3_NAME_PREFIX=PREFIX, an empty device
# folder), then removes every object left under the prefix. For programs that link the
# library, which attaches before their main could choose a namespace.
set(device_folder "${CMAKE_CURRENT_BINARY_DIR}/${PREFIX}devices")
file(MAKE_DIRECTORY "${device_folder}")
set(ENV{HALVANE3_NAME_PREFIX} "${PREFIX}")
set(ENV{HALVANE3_LPT_DIR} "${device_folder}")
execute_process(COMMAND "${PROGRAM}" RESULT_VARIABLE result)
file(GLOB leftovers "/dev/shm/${PREFIX}*")
if(leftovers)
  file(REMOVE ${leftovers})
endif()
file(REMOVE_RECURSE "${device_folder}")
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} failed: ${result}")
endif()
