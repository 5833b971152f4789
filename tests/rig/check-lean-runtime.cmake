cmake_minimum_required(VERSION 3.25)
# Fails when the program's link map shows a part of GCC's runtime that
# src/base/LeanRuntime.cpp is there to keep out.
if(NOT EXISTS "${MAP}")
  message(FATAL_ERROR "no link map at ${MAP}")
endif()
file(READ "${MAP}" map)
string(FIND "${map}" "libstdc++.a(" any)
if(any EQUAL -1)
  message(FATAL_ERROR "${MAP} links nothing of libstdc++: not the map of a C++ program")
endif()
# The terminate report with its demangler and printf; the throw helpers with their strings.
foreach(member vterminate.o cp-demangle.o functexcept.o cow-stdexcept.o cow-string-inst.o)
  string(FIND "${map}" "${member})" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "the program links ${member} again")
  endif()
endforeach()
