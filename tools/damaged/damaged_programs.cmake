# Runs the real gallery and skindemo programs wearing a few damaged skin
# packages: a readable one must be worn and photographed (exit code 0 and a
# picture), one the reader refuses must end the program with exit code 1.
#   cmake -DRUN=wine-run.sh -DBUILD=DIR -DMKDAMAGED=mkdamaged.exe -DGALLERY=gallery.exe
#         -DSKINDEMO=skindemo.exe -DDIR=SCRATCH -DKINDS=kind,kind... -P damaged_programs.cmake
# Each kind names the first package of that damage kind in the corpus sample.
string(REPLACE "," ";" KINDS "${KINDS}")
file(REMOVE_RECURSE ${DIR})
execute_process(COMMAND ${RUN} --build ${BUILD} ${MKDAMAGED} ${DIR} --sample 30
                RESULT_VARIABLE code ERROR_VARIABLE err)
if(NOT code EQUAL 0)
  message(FATAL_ERROR "mkdamaged: exit code ${code}: ${err}")
endif()
file(STRINGS ${DIR}/index.txt rows)

function(expect_run what expected shot)
  execute_process(COMMAND ${RUN} --build ${BUILD} ${ARGN} RESULT_VARIABLE code ERROR_VARIABLE err
                  TIMEOUT 60)
  if(NOT code STREQUAL "${expected}")
    message(FATAL_ERROR "${what}: exit code ${code}, expected ${expected}; stderr: ${err}")
  endif()
  if(expected EQUAL 0 AND NOT EXISTS ${shot})
    message(FATAL_ERROR "${what}: no picture ${shot}")
  endif()
  message(STATUS "${what}: exit code ${code}")
endfunction()

set(page 0)
foreach(kind ${KINDS})
  set(found "")
  foreach(row ${rows})
    string(REPLACE "\t" ";" fields "${row}")
    list(GET fields 1 row_kind)
    if(row_kind STREQUAL kind)
      list(GET fields 0 name)
      list(GET fields 2 readable)
      set(found ${name})
      break()
    endif()
  endforeach()
  if(NOT found)
    message(FATAL_ERROR "no package of kind ${kind} in the sample")
  endif()
  set(expected 0)
  if(readable STREQUAL "unreadable")
    set(expected 1)
  endif()
  expect_run("gallery --page ${page} --skin ${found}" ${expected} ${DIR}/${found}.gallery.bmp
             ${GALLERY} --page ${page} --skin ${DIR}/${found} --shot ${DIR}/${found}.gallery.bmp)
  expect_run("skindemo --popup ${found}" ${expected} ${DIR}/${found}.skindemo.bmp
             ${SKINDEMO} ${DIR}/${found} --popup --shot ${DIR}/${found}.skindemo.bmp)
  math(EXPR page "(${page} + 1) % 5")
endforeach()
