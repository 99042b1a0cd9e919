# Installs the build in COMPILACION into DESTINO (a DESTDIR) and checks the tree: every
# file a player and the desktop need is there, the menu entry and the AppStream metadata
# validate, and the installed table tool runs.
file(REMOVE_RECURSE "${DESTINO}")
set(ENV{DESTDIR} "${DESTINO}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${COMPILACION}" --prefix /usr
  RESULT_VARIABLE r OUTPUT_QUIET)
if(NOT r EQUAL 0)
  message(FATAL_ERROR "cmake --install falló: ${r}")
endif()

set(esperados
  usr/bin/cartoval
  usr/bin/cartoval-mesa
  "usr/share/cartoval/ZARP(Esp).hlp"
  usr/share/applications/org.cartoval.Cartoval.desktop
  usr/share/metainfo/org.cartoval.Cartoval.metainfo.xml
  usr/share/man/man1/cartoval-mesa.1.gz
  usr/share/doc/cartoval/copyright)
foreach(lado 16 22 24 32 48 64 128 256)
  list(APPEND esperados usr/share/icons/hicolor/${lado}x${lado}/apps/cartoval.png)
endforeach()
foreach(f IN LISTS esperados)
  if(NOT EXISTS "${DESTINO}/${f}")
    message(FATAL_ERROR "falta ${f} en el árbol instalado")
  endif()
endforeach()
foreach(f usr/bin/cartoval usr/bin/cartoval-mesa)
  file(SIZE "${DESTINO}/${f}" tamanno)
  if(tamanno EQUAL 0)
    message(FATAL_ERROR "${f} está vacío")
  endif()
endforeach()

find_program(DESKTOP_FILE_VALIDATE desktop-file-validate REQUIRED)
find_program(APPSTREAMCLI appstreamcli REQUIRED)
execute_process(COMMAND "${DESKTOP_FILE_VALIDATE}"
    "${DESTINO}/usr/share/applications/org.cartoval.Cartoval.desktop"
  RESULT_VARIABLE r OUTPUT_VARIABLE salida ERROR_VARIABLE salida)
if(NOT r EQUAL 0 OR NOT salida STREQUAL "")
  message(FATAL_ERROR "desktop-file-validate: ${salida}")
endif()
execute_process(COMMAND "${APPSTREAMCLI}" validate --no-net
    "${DESTINO}/usr/share/metainfo/org.cartoval.Cartoval.metainfo.xml"
  RESULT_VARIABLE r OUTPUT_VARIABLE salida ERROR_VARIABLE salida)
if(NOT r EQUAL 0)
  message(FATAL_ERROR "appstreamcli validate: ${salida}")
endif()

# The installed tool deals like the one in the build.
execute_process(COMMAND "${DESTINO}/usr/bin/cartoval-mesa" repartir Strup 7
  RESULT_VARIABLE r OUTPUT_VARIABLE instalado)
execute_process(COMMAND "${COMPILACION}/cartoval-mesa" repartir Strup 7 OUTPUT_VARIABLE propio)
if(NOT r EQUAL 0 OR NOT instalado STREQUAL propio)
  message(FATAL_ERROR "el cartoval-mesa instalado no reparte como el compilado")
endif()
message(STATUS "árbol instalado completo: ${esperados}")
