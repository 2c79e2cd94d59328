# The layering check (cmake/check_layers.cmake) over src/, and its own test:
# a planted tree with one break of each kind must fail it.
add_test(NAME layering COMMAND ${CMAKE_COMMAND} -P ${BRANNOCK_SOURCE_DIR}/cmake/check_layers.cmake)
add_test(NAME layering_catches_planted_breaks
         COMMAND ${CMAKE_COMMAND} -DCHECK=${BRANNOCK_SOURCE_DIR}/cmake/check_layers.cmake
                 -DWORK=${CMAKE_CURRENT_BINARY_DIR}/layering_planted
                 -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/check_layers_test.cmake)
# The compiler's side: a layer's include directories hold no higher layer.
add_test(NAME layer_include_directories
         COMMAND ${CMAKE_COMMAND} -DCOMPILER=${CMAKE_CXX_COMPILER}
                 "-DINCLUDES=$<TARGET_PROPERTY:brannock_registry,INCLUDE_DIRECTORIES>"
                 -DWORK=${CMAKE_CURRENT_BINARY_DIR}/layer_includes
                 -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/layer_includes_test.cmake)
