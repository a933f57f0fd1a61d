# Runs the gallery with a skin package it cannot use and expects what a user
# is promised: exit code 1 and a line on stderr naming the package.
#   cmake -DRUN=wine-run.sh -DBUILD=DIR -DPROGRAM=gallery.exe -DKIND=missing|junk -DDIR=SCRATCH
#         -P gallery_refuses.cmake
# missing: the file does not exist ("cannot read"); junk: it is no package
# ("cannot load").
file(MAKE_DIRECTORY ${DIR})
set(package ${DIR}/${KIND}.skn)
file(REMOVE ${package})
if(KIND STREQUAL "missing")
  set(expected "cannot read the skin package ${package}")
elseif(KIND STREQUAL "junk")
  file(WRITE ${package} "this is not a skin package")
  set(expected "cannot load the skin package ${package}")
else()
  message(FATAL_ERROR "unknown KIND ${KIND}")
endif()
execute_process(COMMAND ${RUN} --build ${BUILD} ${PROGRAM} --skin ${package}
                RESULT_VARIABLE code ERROR_VARIABLE err OUTPUT_VARIABLE out)
if(NOT code EQUAL 1)
  message(FATAL_ERROR "exit code ${code}, expected 1; stderr: ${err}")
endif()
string(FIND "${err}" "${expected}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "stderr does not say \"${expected}\": ${err}")
endif()
