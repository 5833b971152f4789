cmake_minimum_required(VERSION 3.25)
# Fails when EXE is larger than LIMIT bytes, resources included.
file(SIZE "${EXE}" size)
if(size GREATER LIMIT)
  message(FATAL_ERROR "${EXE} is ${size} bytes, more than ${LIMIT}")
endif()
message(STATUS "${EXE}: ${size} bytes of at most ${LIMIT}")
