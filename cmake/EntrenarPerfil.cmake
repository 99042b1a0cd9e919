# The training run of the profiled build (Perfil.cmake): the counted table tool MESA
# decides numbers 2001 to 2040 of every game, none of them deals the surveys and checks
# measure. The limit is of memory, not of time, so that the search, and with it the
# counts of the engine, the games and the solver, do not depend on the machine's speed: a
# small table of keys, which most of these deals never fill, and past which a search stops
# where it stands.
execute_process(COMMAND ${MESA} juegos OUTPUT_VARIABLE juegos RESULT_VARIABLE r)
if(NOT r EQUAL 0)
  message(FATAL_ERROR "${MESA} juegos falló: ${r}")
endif()
string(REPLACE "\n" ";" lineas "${juegos}")
set(n 0)
foreach(linea IN LISTS lineas)
  if(linea STREQUAL "")
    continue()
  endif()
  string(REPLACE "\t" ";" campos "${linea}")
  list(GET campos 2 clave)
  execute_process(COMMAND ${MESA} sondear --limite-memoria 8 ${clave} 2001 2040
    OUTPUT_QUIET RESULT_VARIABLE r)
  if(NOT r EQUAL 0)
    message(FATAL_ERROR "${MESA} sondear ${clave} falló: ${r}")
  endif()
  math(EXPR n "${n} + 1")
endforeach()
if(n EQUAL 0)
  message(FATAL_ERROR "${MESA} juegos no dio ningún juego que entrenar")
endif()

# Every file listed in ESPERADOS must now have its counts in DATOS.
file(STRINGS ${ESPERADOS} esperados)
foreach(e IN LISTS esperados)
  if(NOT EXISTS "${DATOS}/${e}")
    message(FATAL_ERROR "el entrenamiento no dejó cuentas en ${DATOS}/${e}")
  endif()
endforeach()
