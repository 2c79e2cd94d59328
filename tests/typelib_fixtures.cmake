# Type library fixtures: every tests/data/idl/*.idl is compiled by widl into
# ${CMAKE_BINARY_DIR}/tlb/NAME.tlb before test_typelib builds; stdole2.tlb,
# which they import, is copied beside them. The libraries of
# tests/data/idl/imported/ go to tlb/imported/, apart from the libraries
# that import them, which then cannot find them when loaded. The cross build
# makes them too (widl runs on the build machine), for its tests under Wine.
# Without widl the reader tests that need them skip.
if(NOT TARGET test_typelib)
  return()
endif()

find_program(WIDL_EXECUTABLE widl)
find_path(WINE_IDL_DIR oaidl.idl
  PATHS /usr/include/wine/wine/windows /usr/include/wine/windows /usr/local/include/wine/windows
  NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
find_path(WINE_PE_DIR stdole2.tlb
  PATHS /usr/lib/x86_64-linux-gnu/wine/x86_64-windows /usr/lib/wine/x86_64-windows
        /usr/lib64/wine/x86_64-windows /usr/local/lib/wine/x86_64-windows
  NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT WIDL_EXECUTABLE OR NOT WINE_IDL_DIR OR NOT WINE_PE_DIR)
  message(STATUS "widl or the Wine IDL files not found: type library fixtures are not built")
  brannock_not_built("the widl fixtures and the tests that load them" "widl or Wine's IDL files not found")
  return()
endif()

set(_tlb_dir ${CMAKE_BINARY_DIR}/tlb)
file(GLOB _idls CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/data/idl/*.idl)
set(_tlbs ${_tlb_dir}/stdole2.tlb)
add_custom_command(OUTPUT ${_tlb_dir}/stdole2.tlb
  COMMAND ${CMAKE_COMMAND} -E make_directory ${_tlb_dir}
  COMMAND ${CMAKE_COMMAND} -E copy ${WINE_PE_DIR}/stdole2.tlb ${_tlb_dir}/stdole2.tlb
  DEPENDS ${WINE_PE_DIR}/stdole2.tlb)
set(_imported_dir ${_tlb_dir}/imported)
file(GLOB _imported_idls CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/data/idl/imported/*.idl)
set(_imported_tlbs)
foreach(_idl ${_imported_idls})
  get_filename_component(_name ${_idl} NAME_WE)
  add_custom_command(OUTPUT ${_imported_dir}/${_name}.tlb
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_imported_dir}
    COMMAND ${WIDL_EXECUTABLE} -t -I ${WINE_IDL_DIR} -L ${WINE_PE_DIR} -o ${_imported_dir}/${_name}.tlb ${_idl}
    DEPENDS ${_idl}
    COMMENT "widl imported/${_name}.idl")
  list(APPEND _imported_tlbs ${_imported_dir}/${_name}.tlb)
endforeach()
foreach(_idl ${_idls})
  get_filename_component(_name ${_idl} NAME_WE)
  add_custom_command(OUTPUT ${_tlb_dir}/${_name}.tlb
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_tlb_dir}
    COMMAND ${WIDL_EXECUTABLE} -t -I ${WINE_IDL_DIR} -I ${CMAKE_CURRENT_SOURCE_DIR}/data/idl/imported
            -L ${WINE_PE_DIR} -L ${_imported_dir} -o ${_tlb_dir}/${_name}.tlb ${_idl}
    DEPENDS ${_idl} ${_imported_tlbs}
    COMMENT "widl ${_name}.idl")
  list(APPEND _tlbs ${_tlb_dir}/${_name}.tlb)
endforeach()
list(APPEND _tlbs ${_imported_tlbs})
add_custom_target(typelib_fixtures DEPENDS ${_tlbs})
add_dependencies(test_typelib typelib_fixtures)
target_compile_definitions(test_typelib PRIVATE BRANNOCK_TLB_DIR="${_tlb_dir}" BRANNOCK_WINE_PE_DIR="${WINE_PE_DIR}")
if(TARGET test_cli)
  add_dependencies(test_cli typelib_fixtures)
endif()
if(TARGET test_analysis)
  add_dependencies(test_analysis typelib_fixtures)
  target_compile_definitions(test_analysis PRIVATE BRANNOCK_TLB_DIR="${_tlb_dir}"
                                                   BRANNOCK_WINE_PE_DIR="${WINE_PE_DIR}")
endif()
# The fixtures through IDL and widl back into libraries (brannock-cli), as
# the Wine stage's list of outcomes has them.
if(TARGET brannock-cli)
  add_test(NAME idl_round_trip_fixtures
           COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/scripts/idl_round_trip_test.sh ${BRANNOCK_SOURCE_DIR}/scripts
                   $<TARGET_FILE:brannock-cli> ${_tlb_dir} ${WINE_PE_DIR}
                   ${BRANNOCK_SOURCE_DIR}/tests/data/wine/idl-round-trip.txt)
endif()
