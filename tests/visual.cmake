# visual_*.cpp: the pictures module (diagrams, charts, report), checked with a
# small XML reader; they also run the visualizar program.
file(GLOB PRUEBAS_VISUAL CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/visual_*.cpp)
foreach(fuente ${PRUEBAS_VISUAL})
  get_filename_component(nombre ${fuente} NAME_WE)
  add_executable(${nombre} ${fuente} apoyo/LectorXml.cpp)
  target_include_directories(${nombre} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_compile_definitions(${nombre} PRIVATE
    DATOS_PRUEBA="${CMAKE_CURRENT_SOURCE_DIR}/datos"
    RUTA_RED_INTEGRADA="${PROJECT_SOURCE_DIR}/src/bot/RedIntegrada.cpp"
    PROGRAMA_VISUALIZAR="$<TARGET_FILE:visualizar>")
  target_link_libraries(${nombre} PRIVATE Visual NEAT DebugLib GTest::gtest_main)
  add_dependencies(${nombre} visualizar)
  gtest_discover_tests(${nombre} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endforeach()

# The report in a real browser: headless chromium driven through chromedriver.
# Skipped (exit 77) when either is missing. Once is enough: not in the
# sanitizer tree.
find_program(PYTHON3_PROGRAMA python3)
if(PYTHON3_PROGRAMA AND NOT NEAT_SANITIZAR)
  add_test(NAME navegador_informe
    COMMAND ${PYTHON3_PROGRAMA} ${CMAKE_CURRENT_SOURCE_DIR}/navegador/prueba_informe.py
      --visualizar $<TARGET_FILE:visualizar>
      --datos ${CMAKE_CURRENT_SOURCE_DIR}/datos/ejecucion
      --grabador $<TARGET_FILE:grabar_partida>
      --trabajo ${CMAKE_CURRENT_BINARY_DIR}/navegador)
  set_tests_properties(navegador_informe PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 240)
endif()

# Records a match of the built-in network against the scripted opponents.
add_executable(grabar_partida apoyo/grabar_partida.cpp apoyo/RobotTexto.cpp
  ${PROJECT_SOURCE_DIR}/src/bot/RedIntegrada.cpp)
target_link_libraries(grabar_partida PRIVATE Arena RTBot NEAT DebugLib)
