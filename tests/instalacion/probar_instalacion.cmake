# Installs the build tree RAIZ_BUILD into a prefix under TRABAJO, then
# configures, builds and runs the outside program in FUENTE against it.
file(REMOVE_RECURSE "${TRABAJO}")
set(PREFIJO "${TRABAJO}/prefijo")

function(ejecutar descripcion)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE resultado OUTPUT_VARIABLE salida ERROR_VARIABLE errores)
  if(NOT resultado EQUAL 0)
    message(FATAL_ERROR "${descripcion} failed (${resultado}):\n${salida}\n${errores}")
  endif()
  set(SALIDA "${salida}" PARENT_SCOPE)
endfunction()

ejecutar("install" "${CMAKE_COMMAND}" --install "${RAIZ_BUILD}" --prefix "${PREFIJO}")
foreach(cabecera NEAT/CAlgoritmoGenetico.h NEAT/IIndividuoIA.h NEAT/Genes.h NEAT/DebugLib/Random/Random.h
                 NEAT/DebugLib/LogUtils/CLog.h)
  if(NOT EXISTS "${PREFIJO}/include/${cabecera}")
    message(FATAL_ERROR "header not installed: include/${cabecera}")
  endif()
endforeach()
# Nothing beside include/NEAT/.
file(GLOB fuera RELATIVE "${PREFIJO}/include" "${PREFIJO}/include/*")
if(NOT fuera STREQUAL "NEAT")
  message(FATAL_ERROR "headers installed outside include/NEAT/: ${fuera}")
endif()

ejecutar("configure" "${CMAKE_COMMAND}" -S "${FUENTE}" -B "${TRABAJO}/build" -G "${GENERADOR}"
         "-DCMAKE_CXX_COMPILER=${COMPILADOR}" "-DCMAKE_PREFIX_PATH=${PREFIJO}"
         -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF)
ejecutar("build" "${CMAKE_COMMAND}" --build "${TRABAJO}/build")
ejecutar("run" "${TRABAJO}/build/programa_externo")
if(NOT SALIDA MATCHES "generaciones 3 mejores 2")
  message(FATAL_ERROR "unexpected output: ${SALIDA}")
endif()
