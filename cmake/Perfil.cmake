# The search compiled with a profile of its own run (gcc's profile-guided optimisation).
# A copy of this same tree, configured alike in perfil/compilacion, builds the table tool
# with counters; the copy runs over the training deals (EntrenarPerfil.cmake); then the
# core, the steps, the solver and the table tool of this build are compiled with what it
# counted: the branches and calls the search takes laid out and inlined for it. The game
# and the tests link those same libraries. The program does what it did; only its speed
# changes (solver/Mediciones.md has the figures).
#
# CARTOVAL_PERFIL: AUTO (the default) turns it on for Release builds with gcc, never with
# the sanitizers, ThreadSanitizer or the fuzzers; ON asks for it in any other build type;
# OFF leaves it out.
set(CARTOVAL_PERFIL AUTO CACHE STRING "Optimizar la búsqueda con un perfil de su propia ejecución: AUTO, ON u OFF")
set_property(CACHE CARTOVAL_PERFIL PROPERTY STRINGS AUTO ON OFF)
# Set only by this file, for the counted copy: where its counts go. Never forced, so
# that the copy's own re-runs of cmake (after a change to these files) keep it.
if(NOT DEFINED CACHE{CARTOVAL_PERFIL_CONTAR})
  set(CARTOVAL_PERFIL_CONTAR "" CACHE INTERNAL "")
endif()

set(perfil_objetivos cartoval_nucleo cartoval_pasos cartoval_solver cartoval-mesa)
# A counts file is named after its object's path with the build folder taken off
# (-fprofile-prefix-path): the copy's objects lie where this build's do, so the names
# match, and so do those gcc gives the functions local to a file.
if(CARTOVAL_PERFIL_CONTAR)
  foreach(t ${perfil_objetivos})
    target_compile_options(${t} PRIVATE -fprofile-generate=${CARTOVAL_PERFIL_CONTAR}
      -fprofile-prefix-path=${CMAKE_BINARY_DIR})
  endforeach()
  target_link_options(cartoval-mesa PRIVATE -fprofile-generate)
  return()
endif()

set(cartoval_perfil_posible OFF)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND NOT CMAKE_CROSSCOMPILING
   AND NOT CARTOVAL_SANEAR AND NOT CARTOVAL_HILOS AND NOT CARTOVAL_FUZZ AND NOT CARTOVAL_FUZZERS)
  set(cartoval_perfil_posible ON)
endif()
if(CARTOVAL_PERFIL STREQUAL "AUTO")
  set(CARTOVAL_PERFIL_ACTIVO OFF)
  if(cartoval_perfil_posible AND CMAKE_BUILD_TYPE STREQUAL "Release")
    set(CARTOVAL_PERFIL_ACTIVO ON)
  endif()
elseif(CARTOVAL_PERFIL)
  if(NOT cartoval_perfil_posible)
    message(FATAL_ERROR "CARTOVAL_PERFIL=ON necesita gcc y una compilación sin sanitizers ni fuzzers")
  endif()
  set(CARTOVAL_PERFIL_ACTIVO ON)
else()
  set(CARTOVAL_PERFIL_ACTIVO OFF)
endif()
message(STATUS "Optimización con perfil de la búsqueda: ${CARTOVAL_PERFIL_ACTIVO}")
if(NOT CARTOVAL_PERFIL_ACTIVO)
  return()
endif()

set(PERFIL ${CMAKE_BINARY_DIR}/perfil)
set(PERFIL_DATOS ${PERFIL}/datos)
set(PERFIL_MESA ${PERFIL}/compilacion/cartoval-mesa${CMAKE_EXECUTABLE_SUFFIX})
# The copy builds with as many jobs as the machine has cores, beside this build's own.
cmake_host_system_information(RESULT perfil_nucleos QUERY NUMBER_OF_LOGICAL_CORES)
include(ExternalProject)
ExternalProject_Add(perfil_contado
  SOURCE_DIR ${CMAKE_SOURCE_DIR}
  BINARY_DIR ${PERFIL}/compilacion
  PREFIX ${PERFIL}/proyecto
  CMAKE_GENERATOR ${CMAKE_GENERATOR}
  CMAKE_ARGS
    -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
    -DCMAKE_CXX_COMPILER=${CMAKE_CXX_COMPILER}
    -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER}
    -DCMAKE_CXX_FLAGS=${CMAKE_CXX_FLAGS}
    -DCMAKE_PREFIX_PATH=${CMAKE_PREFIX_PATH}
    -DCARTOVAL_PERFIL=OFF
    -DCARTOVAL_PERFIL_CONTAR=${PERFIL_DATOS}
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target cartoval-mesa
    --parallel ${perfil_nucleos}
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${PERFIL_MESA}
  INSTALL_COMMAND ""
  LOG_CONFIGURE ON
  LOG_OUTPUT_ON_FAILURE ON
  EXCLUDE_FROM_ALL ON)

# The training. The old counts go first: a copy built anew must not add to them. It
# depends on the counted table tool, so a change to any of its sources trains again
# before the profiled targets compile.
# The solver is what the profile is for: the training fails unless each of its files left
# counts under the name its profiled object looks for (a missing one would be compiled
# without a profile, and silently, since -Wno-missing-profile).
set(perfil_esperados)
foreach(f ${SOLVER_FUENTES})
  file(RELATIVE_PATH relativo ${CMAKE_SOURCE_DIR} ${f})
  string(REPLACE "/" "#" relativo "${relativo}")
  list(APPEND perfil_esperados "CMakeFiles#cartoval_solver.dir#${relativo}.gcda")
endforeach()
string(REPLACE ";" "\n" perfil_esperados "${perfil_esperados}")
file(WRITE ${PERFIL}/esperados.txt "${perfil_esperados}\n")
add_custom_command(OUTPUT ${PERFIL}/entrenado
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${PERFIL_DATOS}
  COMMAND ${CMAKE_COMMAND} -DMESA=${PERFIL_MESA} -DDATOS=${PERFIL_DATOS}
    -DESPERADOS=${PERFIL}/esperados.txt -P ${CMAKE_SOURCE_DIR}/cmake/EntrenarPerfil.cmake
  COMMAND ${CMAKE_COMMAND} -E touch ${PERFIL}/entrenado
  DEPENDS perfil_contado ${PERFIL_MESA} ${CMAKE_SOURCE_DIR}/cmake/EntrenarPerfil.cmake
  COMMENT "Entrenando el perfil de la búsqueda"
  VERBATIM)
add_custom_target(perfil_entrenamiento DEPENDS ${PERFIL}/entrenado)

# Files the training never reaches (those the table tool does not link) have no counts:
# they are compiled as without a profile, and -fprofile-partial-training keeps code the
# training did not run optimised for speed rather than for size. The dependency orders the
# profiled targets after the training and does not force a rebuild: a source that changed
# is compiled with the new counts, the others keep objects compiled with counts of the
# same code.
foreach(t ${perfil_objetivos})
  target_compile_options(${t} PRIVATE -fprofile-use=${PERFIL_DATOS}
    -fprofile-prefix-path=${CMAKE_BINARY_DIR} -fprofile-partial-training -Wno-missing-profile)
  add_dependencies(${t} perfil_entrenamiento)
endforeach()
